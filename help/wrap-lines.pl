#!/usr/bin/perl
# Turns the line ends of a help page that follow a Chinese character or
# punctuation into a break the help viewer shows as nothing: the common viewer
# draws every line end as a blank and wraps only at blanks, so a line end inside
# Chinese text would show as a stray space, and no line end at all would leave
# a paragraph one endless line. A 1x1 transparent picture is a place to wrap
# that draws no blank. Line ends after Latin text stay blanks.
# Usage: wrap-lines.pl < page.html > page.html (UTF-8 in and out)
use strict;
use warnings;
use utf8;
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';
local $/;
my $page = <STDIN>;
my ($head, $body) = $page =~ /\A(.*?<body[^>]*>)(.*)\z/s or die "wrap-lines: no <body>\n";
$body =~ s/(?<=[^\x00-\x7f])\n[ \t]*(?=\S)/<img src="images\/wrap.png" alt="">/g;
print $head, $body;
