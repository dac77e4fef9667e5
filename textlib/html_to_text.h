#pragma once
// Html to readable text: cut out whole elements that never hold readable
// text, remove tags (all, the named ones, or all but the kept ones), and lay
// what is left out as indented paragraphs.
#include "common/wstring.h"

// Replaces the text of one tag (from "<" to ">") by the tag's name: CR and LF
// count as spaces and every "/" is dropped, so "</p>" and "<br/>" name p and
// br. Case is kept.
void ExtractTagName(CWString& tag);

// The lists are tag names joined by ","; items are trimmed of code units 0 to
// 32 and empty items dropped. Names are compared against the lower-cased tag
// name, so list items are expected in lower case.
//  - Each element of `elementList` goes with its content, from "<name" to the
//    first "</name>" after it; an element without its end tag stays.
//  - Then, unless `removeList` is exactly "-1": with a non-empty remove list
//    only the tags it names go; else, with a non-empty keep list, every tag
//    it does not name; else every tag (comments and declarations included).
// Every removed piece, pieces that touch merged into one, becomes
// `replacement`.
void FilterHtmlTags(CWString& text, const CWString& removeList, const CWString& keepList,
                    const CWString& elementList, const CWString& replacement);

// Each non-blank line becomes prefix + two ideographic spaces + the trimmed
// line + suffix; paragraphs are joined by "\r\n\r\n" and blank lines dropped.
void CleanTextLines(CWString& text, const CWString& prefix, const CWString& suffix);
