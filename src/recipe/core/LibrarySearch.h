#pragma once
// Finding text in the recipe library: in node names and in the text of recipe
// files and collection items. No Qt.
//
// Matching is GBK-aware: a match starts on a character boundary and covers whole
// characters, so the trail byte of one double-byte character and the lead byte of
// the next never match; ASCII letters that stand as characters of their own match
// without regard to case, everything else byte for byte.

#include "recipe/core/Recipe.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// The byte offset of the first match of needle in haystack (both GBK) at or after
// from (a character boundary), or npos. An empty needle matches nowhere.
std::size_t findGbk(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// The same for UTF-8 text (names as shown, files kept as UTF-8).
std::size_t findUtf8(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// One line of a recipe file or a collection item that holds the text.
struct TFindHit {
    std::size_t node = 0;  // index of the file's or the item's node in the scanned tree
    std::string item;      // the item's name (GBK), empty for a recipe file
    int line = 0;          // 1-based line number in the file
    std::string text;      // the line as stored (GBK, or UTF-8 for a UTF-8 file), line end dropped
    bool utf8 = false;     // the file is UTF-8 (it starts with a byte-order mark)
};

struct TFindResult {
    std::vector<TRecipeNode> tree;   // the library as scanned
    std::vector<bool> matched;       // per node: its name or its text holds the needle
    std::vector<bool> named;         // per node: its name (as shown) holds the needle
    std::vector<TFindHit> hits;      // content hits in tree order
};

// Searches the library of programFolder for needle (UTF-8, as typed). under, when
// not empty, limits the search to the nodes below that folder (a disk path ending
// in '/').
TFindResult FindInLibrary(const std::string &programFolder, std::string_view needleUtf8,
                          const std::string &under = {});

// Searches an already scanned tree; the files are read again.
TFindResult FindInTree(std::vector<TRecipeNode> tree, std::string_view needleUtf8, const std::string &under = {});

} // namespace vomra
