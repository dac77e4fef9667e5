#include "platform/shell_open.h"

#include "platform/hooks.h"

int OpenAddress(const CWString& address, const CWString& parameters) {
  if (PlatformHooks().ShellOpen(address, parameters)) return 1;
  SetClipboardText(address);
  const CWString place = address.Contains(u"://") ? CWString(u"浏览器") : CWString(u"我的电脑");
  const CWString message = u"打开失败：" + address + u"\r\n\r\n已将该地址复制，请手动到" + place + u"粘贴打开！";
  ShowMessageBox(message, u"信息:", kMbIconInformation);
  return 0;
}
