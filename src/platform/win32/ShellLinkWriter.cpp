#include "platform/win32/ShellLinkWriter.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shobjidl.h>

#include "platform/win32/Com.h"

namespace tsaver {

namespace {

std::string shellText(const std::string& text) { return text.substr(0, kShellLinkTextLimit); }

// Spelled out here: the library that defines them holds every GUID of Windows in
// one piece, tens of kilobytes the program would carry for these three.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkAnsi = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

ShellLinkResult saveShellLinkThroughCom(const ShellLinkData& link, const std::string& path) {
  ScopedCoInitialize com;
  ComPtr<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkAnsi, shellLink.receive())))
    return ShellLinkResult::CreateFailed;
  ComPtr<IPersistFile> persistFile;
  if (FAILED(shellLink->QueryInterface(kPersistFile, persistFile.receive())))
    return ShellLinkResult::QueryInterfaceFailed;

  // The setters' results are not examined: the link keeps what the shell accepted.
  shellLink->SetDescription(shellText(link.description).c_str());
  shellLink->SetPath(shellText(link.target).c_str());
  shellLink->SetWorkingDirectory(shellText(link.workingDir).c_str());
  shellLink->SetArguments(shellText(link.arguments).c_str());
  shellLink->SetShowCmd(link.showCommand);
  shellLink->SetHotkey(link.hotKey);
  shellLink->SetIconLocation(shellText(link.iconFile).c_str(), link.iconIndex);

  // A cut path would name another file; 255 ANSI bytes always fit MAX_PATH wide characters.
  if (path.size() > kShellLinkTextLimit) return ShellLinkResult::SaveFailed;
  WCHAR widePath[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0)
    return ShellLinkResult::SaveFailed;
  if (FAILED(persistFile->Save(widePath, TRUE))) return ShellLinkResult::SaveFailed;
  return ShellLinkResult::Saved;
}

}  // namespace tsaver
