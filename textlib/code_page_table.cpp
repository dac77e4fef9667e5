#include "textlib/code_page_table.h"

#include <string>

const CWString& CodePageTable() {
  static const CWString table(std::u16string(
      u"\r\n708,ASMO-708,阿拉伯字符 (ASMO 708)"
      u"\r\n720,DOS-720,阿拉伯字符 (DOS)"
      u"\r\n28596,iso-8859-6,阿拉伯字符 (ISO)"
      u"\r\n1256,windows-1256,阿拉伯字符 (Windows)"
      u"\r\n1257,windows-1257,波罗的海字符 (Windows)"
      u"\r\n852,ibm852,中欧字符 (DOS)"
      u"\r\n28592,iso-8859-2,中欧字符 (ISO)"
      u"\r\n1250,windows-1250,中欧字符 (Windows)"
      u"\r\n936,gbk,简体中文 (GB2312)"
      u"\r\n950,big5,繁体中文 (Big5)"
      u"\r\n862,DOS-862,希伯来字符 (DOS)"
      u"\r\n866,cp866,西里尔字符 (DOS)"
      u"\r\n874,windows-874,泰语 (Windows)"
      u"\r\n932,shift_jis,日语 (Shift-JIS)"
      u"\r\n949,ks_c_5601-1987,朝鲜语"
      u"\r\n1251,windows-1251,西里尔字符 (Windows)"
      u"\r\n1252,iso-8859-1,西欧字符"
      u"\r\n1253,windows-1253,希腊字符 (Windows)"
      u"\r\n1254,iso-8859-9,土耳其字符 (Windows)"
      u"\r\n1255,windows-1255,希伯来字符 (Windows)"
      u"\r\n1258,windows-1258,越南字符 (Windows)"
      u"\r\n20866,koi8-r,西里尔字符 (KOI8-R)"
      u"\r\n21866,koi8-ru,西里尔字符 (KOI8-U)"
      u"\r\n28595,iso-8859-5,西里尔字符 (ISO)"
      u"\r\n28597,iso-8859-7,希腊字符 (ISO)"
      u"\r\n28598,iso-8859-8,希伯来字符 (ISO-Visual)"
      u"\r\n38598,iso-8859-8-i,希伯来字符 (ISO-Logical)"
      u"\r\n50932,_autodetect,日语 (自动选择)"
      u"\r\n51932,euc-jp,日语 (EUC)"
      u"\r\n52936,hz-gb-2312,简体中文 (HZ)"
      u"\r\n65001,utf-8,Unicode (UTF-8) "
      u"\r\n"));
  return table;
}

CWString CodePageToCharset(int codePage) {
  const CWString& table = CodePageTable();
  const CWString start = CWString(u"\r\n") + CWString::FromInt(codePage) + u",";
  const int at = table.Find(start.View());
  if (at < 0) return CWString();
  const int nameStart = at + start.Length();
  const int nameEnd = table.Find(u',', nameStart);
  if (nameEnd < 0) return CWString();
  return table.Mid(nameStart, nameEnd - nameStart);
}
