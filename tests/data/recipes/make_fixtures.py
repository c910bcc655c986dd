#!/usr/bin/env python3
"""Writes the recipe library fixture: a program folder "library" (run from anywhere).

Contents are written in GBK with CR LF line ends unless a case says otherwise.
Empty folders, links, FIFOs and odd file names are made by the tests themselves
(git keeps none of them).
"""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "library")


def put(rel, text, eol="\r\n"):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.replace("\n", eol).encode("gbk"))


GREETINGS = """[ItemList]
ItemCount=5
ItemName1=早安
ItemName2=  Good Morning  
ItemName3=
ItemName4=晚安
ItemName5=不存在

[早安]
  早上好！  
今天天气不错。

[ good morning ]
Hello
[Not listed]
more
[晚安]
	晚安，好梦。
[早安]
second copy
"""

shutil.rmtree(ROOT, ignore_errors=True)
put("QOBR.Ini", "[窗体]\n宽度=640\n")
put("loose.Txt", "a file in the program folder is not in the library\n")
put("Theme/skipped.Txt", "the top-level theme folder is not in the library\n")
put("Alpha/a.Txt", "第一行\n  第二行  \n")
put("Alpha/b.txt", "lower-case extension\n")
put("Alpha/C.TXT", "upper-case extension\n")
put("Alpha/.hidden.Txt", "hidden files count\n")
put("Alpha/notes.md", "neither a collection nor a recipe\n")
put("Alpha/.Txt", "a name of four characters\n")
put("Alpha/问候.Ini", GREETINGS)
put("Alpha/Theme/deep.Txt", "a theme folder below the top is listed\n")
put("Alpha/Zeta/z.ini", "[itemlist]\nitemcount=1\nitemname1=Z\n[z]\nzz\n", eol="\n")
put("Beta/节日.Txt", "春节快乐\n")
put(".dot/h.Ini", "[ItemList]\nItemCount=2000000000\nItemName1=one\n[one]\n1\n")
