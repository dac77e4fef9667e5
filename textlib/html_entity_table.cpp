#include "textlib/html_entity_table.h"

#include <cstddef>
#include <iterator>
#include <string>

namespace {

struct EntityRow {
  const char16_t* name;
  int code;
};

// Mostly the Latin-1 block in the order the table has always had. Each name
// carries the code HTML gives it, with one deliberate exception: "nbsp" is an
// ordinary blank, because decoded text goes into plain-text editors and files.
// The row for "eth" once read "ieth"; "circ" and "ring" once stood for Â and
// Å, which have their own rows "Acirc" and "Aring" beside them, and "Auml"
// stands beside "auml".
constexpr EntityRow kRows[] = {
    {u"quot", 34},    {u"amp", 38},     {u"lt", 60},      {u"gt", 62},      {u"nbsp", 32},
    {u"iexcl", 161},  {u"Aacute", 193}, {u"aacute", 225}, {u"cent", 162},   {u"circ", 710},
    {u"Acirc", 194},  {u"acirc", 226},  {u"pound", 163},  {u"Atilde", 195}, {u"atilde", 227},
    {u"curren", 164}, {u"Auml", 196},   {u"auml", 228},   {u"yen", 165},    {u"ring", 730},
    {u"Aring", 197},  {u"aring", 229},  {u"brvbar", 166}, {u"AElig", 198},  {u"aelig", 230},
    {u"sect", 167},   {u"Ccedil", 199}, {u"ccedil", 231}, {u"uml", 168},    {u"Egrave", 200},
    {u"egrave", 232}, {u"copy", 169},   {u"Eacute", 201}, {u"eacute", 233}, {u"ordf", 170},
    {u"Ecirc", 202},  {u"ecirc", 234},  {u"laquo", 171},  {u"Euml", 203},   {u"euml", 235},
    {u"not", 172},    {u"Igrave", 204}, {u"igrave", 236}, {u"shy", 173},    {u"Iacute", 205},
    {u"iacute", 237}, {u"reg", 174},    {u"Icirc", 206},  {u"icirc", 238},  {u"macr", 175},
    {u"Iuml", 207},   {u"iuml", 239},   {u"deg", 176},    {u"ETH", 208},    {u"eth", 240},
    {u"plusmn", 177}, {u"Ntilde", 209}, {u"ntilde", 241}, {u"sup2", 178},   {u"Ograve", 210},
    {u"ograve", 242}, {u"sup3", 179},   {u"Oacute", 211}, {u"oacute", 243}, {u"acute", 180},
    {u"Ocirc", 212},  {u"ocirc", 244},  {u"micro", 181},  {u"Otilde", 213}, {u"otilde", 245},
    {u"para", 182},   {u"Ouml", 214},   {u"ouml", 246},   {u"middot", 183}, {u"times", 215},
    {u"divide", 247}, {u"cedil", 184},  {u"Oslash", 216}, {u"oslash", 248}, {u"sup1", 185},
    {u"Ugrave", 217}, {u"ugrave", 249}, {u"ordm", 186},   {u"Uacute", 218}, {u"uacute", 250},
    {u"raquo", 187},  {u"Ucirc", 219},  {u"ucirc", 251},  {u"frac14", 188}, {u"Uuml", 220},
    {u"uuml", 252},   {u"frac12", 189}, {u"Yacute", 221}, {u"yacute", 253}, {u"frac34", 190},
    {u"THORN", 222},  {u"thorn", 254},  {u"iquest", 191}, {u"szlig", 223},  {u"yuml", 255},
    {u"Agrave", 192}, {u"agrave", 224}, {u"ldquo", 8220}, {u"rdquo", 8221},
};

CWString BuildTable() {
  std::u16string table;
  for (size_t i = 0; i < std::size(kRows); ++i) {
    if (i) table += u"\r\n";
    table += u"&";
    table += kRows[i].name;
    table += u"; &#";
    table += CWString::FromInt(kRows[i].code).Str();
    table += u";";
  }
  return CWString(std::move(table));
}

}  // namespace

const CWString& HtmlEntityTable() {
  static const CWString table = BuildTable();
  return table;
}

int LookupHtmlEntity(std::u16string_view name) {
  if (name.empty()) return 0;
  for (const EntityRow& row : kRows)
    if (name == row.name) return row.code;
  return 0;
}
