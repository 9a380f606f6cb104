#include "setup/windows_install_platform.h"

#include <objbase.h>
#include <objidl.h>
#include <oleauto.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

#include "setup/disk_files.h"
#include "setup/message_pump.h"
#include "setup/package_reader.h"
#include "setup/system_libraries.h"

namespace veltrace::setup {

namespace {

constexpr DWORD copyPieceSize = 64 * 1024;

std::string text(std::string_view view) { return std::string(view); }

std::wstring wide(std::string_view ansi) {
  std::string source(ansi);
  int length = MultiByteToWideChar(CP_ACP, 0, source.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring out(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, source.c_str(), -1, out.data(), length);
  out.resize(static_cast<size_t>(length - 1));
  return out;
}

std::uint32_t lastError(BOOL done) { return done ? std::uint32_t(errorNone) : GetLastError(); }

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class OwnedKey {
 public:
  OwnedKey() = default;
  ~OwnedKey() {
    if (key_) RegCloseKey(key_);
  }
  OwnedKey(const OwnedKey&) = delete;
  OwnedKey& operator=(const OwnedKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  Interface** out() { return &pointer_; }
  void** outVoid() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

bool createKey(RegistryRoot root, std::string_view key, OwnedKey& opened) {
  return RegCreateKeyExA(registryRootKey(root), text(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, opened.out(),
                         nullptr) == ERROR_SUCCESS;
}

bool deleteKeyTree(HKEY parent, const std::string& key) {
  OwnedKey opened;
  if (RegOpenKeyExA(parent, key.c_str(), 0, KEY_READ | KEY_WRITE, opened.out()) != ERROR_SUCCESS) return false;
  // Children first: RegDeleteKey on NT refuses a key that has any.
  for (;;) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(opened.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!deleteKeyTree(opened.get(), name)) return false;
  }
  return RegDeleteKeyA(parent, key.c_str()) == ERROR_SUCCESS;
}

struct WindowSearch {
  DWORD processId;
  std::string title;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char title[261] = {};
  GetWindowTextA(window, title, sizeof title);
  search->title = title;
  return FALSE;
}

}  // namespace

std::optional<FileInfo> WindowsInstallPlatform::fileInfo(std::string_view path) { return fileInfoFromDisk(path); }

bool WindowsInstallPlatform::folderExists(std::string_view path) {
  DWORD attributes = GetFileAttributesA(text(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint32_t WindowsInstallPlatform::createFolder(std::string_view path) {
  return lastError(CreateDirectoryA(text(path).c_str(), nullptr));
}

std::uint32_t WindowsInstallPlatform::removeFolder(std::string_view path) {
  return lastError(RemoveDirectoryA(text(path).c_str()));
}

std::uint32_t WindowsInstallPlatform::deleteFile(std::string_view path) {
  return lastError(DeleteFileA(text(path).c_str()));
}

std::uint16_t WindowsInstallPlatform::attributes(std::string_view path) {
  DWORD attributes = GetFileAttributesA(text(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? attributesAbsent : static_cast<std::uint16_t>(attributes);
}

bool WindowsInstallPlatform::setAttributes(std::string_view path, std::uint16_t attributes) {
  return SetFileAttributesA(text(path).c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != FALSE;
}

std::uint32_t WindowsInstallPlatform::moveFile(std::string_view from, std::string_view to) {
  std::string source = text(from), target = text(to);
  if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return errorNone;
  DWORD error = GetLastError();
  if (error != ERROR_CALL_NOT_IMPLEMENTED) return error;
  // The 9x family: no MoveFileEx; a target still in use refuses the delete
  // and the move then finds it there.
  DeleteFileA(target.c_str());
  return lastError(MoveFileA(source.c_str(), target.c_str()));
}

bool WindowsInstallPlatform::copyFile(std::string_view from, std::string_view to,
                                      std::optional<std::uint64_t> length) {
  OwnedHandle source(CreateFileA(text(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source.valid()) return false;
  bool done = true;
  {
    OwnedHandle target(
        CreateFileA(text(to).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.valid()) return false;
    std::vector<char> piece(copyPieceSize);
    std::uint64_t left = length ? *length : UINT64_MAX;
    while (left > 0) {
      DWORD wanted = static_cast<DWORD>(left < copyPieceSize ? left : copyPieceSize);
      DWORD read = 0, written = 0;
      if (!ReadFile(source.get(), piece.data(), wanted, &read, nullptr)) {
        done = false;
        break;
      }
      if (read == 0) break;
      if (!WriteFile(target.get(), piece.data(), read, &written, nullptr) || written != read) {
        done = false;
        break;
      }
      left -= read;
    }
    FILETIME created, accessed, written;
    if (done && GetFileTime(source.get(), &created, &accessed, &written))
      SetFileTime(target.get(), nullptr, nullptr, &written);
  }
  if (!done) {
    DeleteFileA(text(to).c_str());
    return false;
  }
  DWORD sourceAttributes = GetFileAttributesA(text(from).c_str());
  if (sourceAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(text(to).c_str(), sourceAttributes);
  return true;
}

bool WindowsInstallPlatform::extractRecord(PackageReader& reader, const FileInfo& info, std::string_view path,
                                           const std::function<void(std::uint32_t)>& progress) {
  return reader.extractToFile(info, path, progress);
}

std::vector<std::string> WindowsInstallPlatform::listFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> names;
  std::string search = text(folder);
  if (!search.empty() && search.back() != '\\') search += '\\';
  search += pattern;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(search.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

std::string WindowsInstallPlatform::fullPath(std::string_view path) {
  char buffer[MAX_PATH + 1];
  char* namePart = nullptr;
  DWORD length = GetFullPathNameA(text(path).c_str(), sizeof buffer, buffer, &namePart);
  if (length == 0 || length >= sizeof buffer) return text(path);
  return std::string(buffer, length);
}

std::string WindowsInstallPlatform::shortPath(std::string_view path) {
  char buffer[MAX_PATH + 1];
  DWORD length = GetShortPathNameA(text(path).c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return text(path);
  return std::string(buffer, length);
}

std::string WindowsInstallPlatform::longPath(std::string_view path) {
  char buffer[MAX_PATH + 1];
  DWORD length = GetLongPathNameA(text(path).c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return text(path);
  return std::string(buffer, length);
}

bool WindowsInstallPlatform::appendToFile(std::string_view path, std::string_view content) {
  OwnedHandle file(CreateFileA(text(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

std::optional<std::uint64_t> WindowsInstallPlatform::fileSize(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(text(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WindowsInstallPlatform::setCurrentFolder(std::string_view path) {
  return SetCurrentDirectoryA(text(path).c_str()) != FALSE;
}

bool WindowsInstallPlatform::isProtectedFile(std::string_view path) {
  using Protected = BOOL(WINAPI*)(HANDLE, LPCWSTR);
  static auto isProtected = systemFunction<Protected>("sfc.dll", "SfcIsFileProtected");
  if (!isProtected) return false;
  return isProtected(nullptr, wide(path).c_str()) != FALSE;
}

std::uint32_t WindowsInstallPlatform::moveAtRestart(std::string_view from, std::string_view to) {
  std::string source = text(from), target = text(to);
  DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (target.empty() ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (MoveFileExA(source.c_str(), target.empty() ? nullptr : target.c_str(), flags)) return errorNone;
  DWORD error = GetLastError();
  return error == ERROR_CALL_NOT_IMPLEMENTED ? std::uint32_t(errorNotImplemented) : error;
}

bool WindowsInstallPlatform::writeIniValue(std::string_view file, std::string_view section, std::string_view key,
                                           std::string_view value) {
  return WritePrivateProfileStringA(text(section).c_str(), text(key).c_str(), text(value).c_str(),
                                    text(file).c_str()) != FALSE;
}

bool WindowsInstallPlatform::registryKeyWritable(RegistryRoot root, std::string_view key) {
  OwnedKey opened;
  return RegOpenKeyExA(registryRootKey(root), text(key).c_str(), 0, KEY_WRITE, opened.out()) == ERROR_SUCCESS ||
         createKey(root, key, opened);
}

bool WindowsInstallPlatform::setRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                                               std::string_view value) {
  OwnedKey opened;
  if (!createKey(root, key, opened)) return false;
  std::string data = text(value);
  return RegSetValueExA(opened.get(), text(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool WindowsInstallPlatform::setRegistryDword(RegistryRoot root, std::string_view key, std::string_view name,
                                              std::uint32_t value) {
  OwnedKey opened;
  if (!createKey(root, key, opened)) return false;
  DWORD data = value;
  return RegSetValueExA(opened.get(), text(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool WindowsInstallPlatform::deleteRegistryValue(RegistryRoot root, std::string_view key, std::string_view name) {
  OwnedKey opened;
  if (RegOpenKeyExA(registryRootKey(root), text(key).c_str(), 0, KEY_WRITE, opened.out()) != ERROR_SUCCESS)
    return false;
  return RegDeleteValueA(opened.get(), text(name).c_str()) == ERROR_SUCCESS;
}

bool WindowsInstallPlatform::deleteRegistryTree(RegistryRoot root, std::string_view key) {
  return deleteKeyTree(registryRootKey(root), text(key));
}

bool WindowsInstallPlatform::registerLibrary(std::string_view path, bool unregister) {
  HMODULE library = LoadLibraryExA(text(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) return false;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(
      reinterpret_cast<void*>(GetProcAddress(library, unregister ? "DllUnregisterServer" : "DllRegisterServer")));
  bool done = !entry || SUCCEEDED(entry());
  FreeLibrary(library);
  return done;
}

bool WindowsInstallPlatform::registerTypeLibrary(std::string_view path, bool unregister) {
  using Load = HRESULT(WINAPI*)(LPCOLESTR, ITypeLib**);
  using Register = HRESULT(WINAPI*)(ITypeLib*, LPCOLESTR, LPCOLESTR);
  using Unregister = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  static auto load = systemFunction<Load>("oleaut32.dll", "LoadTypeLib");
  static auto registerLibrary = systemFunction<Register>("oleaut32.dll", "RegisterTypeLib");
  static auto unregisterLibrary = systemFunction<Unregister>("oleaut32.dll", "UnRegisterTypeLib");
  if (!load || !registerLibrary || !unregisterLibrary) return false;
  std::wstring file = wide(path);
  ComPointer<ITypeLib> library;
  if (FAILED(load(file.c_str(), library.out())) || !library) return false;
  if (!unregister) return SUCCEEDED(registerLibrary(library.operator->(), file.c_str(), nullptr));
  TLIBATTR* attributes = nullptr;
  if (FAILED(library->GetLibAttr(&attributes)) || !attributes) return false;
  HRESULT result = unregisterLibrary(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, attributes->syskind);
  library->ReleaseTLibAttr(attributes);
  return SUCCEEDED(result);
}

bool WindowsInstallPlatform::startProgram(std::string_view commandLine) {
  return WinExec(text(commandLine).c_str(), SW_SHOWNORMAL) > 31;
}

bool WindowsInstallPlatform::createShellLink(std::string_view linkPath, const ShellLinkData& link) {
  ComPointer<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.outVoid())))
    return false;
  shellLink->SetPath(link.target.c_str());
  shellLink->SetWorkingDirectory(link.workDir.c_str());
  shellLink->SetArguments(link.arguments.c_str());
  shellLink->SetDescription(link.description.c_str());
  shellLink->SetIconLocation(link.iconPath.c_str(), link.iconIndex);
  shellLink->SetShowCmd(link.showCommand);
  ComPointer<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.outVoid()))) return false;
  return SUCCEEDED(file->Save(wide(linkPath).c_str(), TRUE));
}

std::optional<std::string> WindowsInstallPlatform::shellLinkTarget(std::string_view linkPath) {
  ComPointer<IShellLinkA> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.outVoid())))
    return std::nullopt;
  ComPointer<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.outVoid()))) return std::nullopt;
  if (FAILED(file->Load(wide(linkPath).c_str(), STGM_READ))) return std::nullopt;
  char target[MAX_PATH + 1] = {};
  if (FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  return std::string(target);
}

std::optional<std::vector<RunningProcess>> WindowsInstallPlatform::runningProcesses() {
  // Tool help lives in kernel32 on every system that has it; NT 4.0 has
  // none, so the functions are looked up.
  using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
  using Walk = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto snapshot = reinterpret_cast<Snapshot>(reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  auto first = reinterpret_cast<Walk>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32First")));
  auto next = reinterpret_cast<Walk>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32Next")));
  if (!snapshot || !first || !next) return std::nullopt;
  OwnedHandle processes(snapshot(TH32CS_SNAPPROCESS, 0));
  if (!processes.valid()) return std::nullopt;
  std::vector<RunningProcess> list;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = first(processes.get(), &entry); more; more = next(processes.get(), &entry)) {
    std::string exe = entry.szExeFile;
    size_t last = exe.find_last_of("\\/");
    RunningProcess process;
    process.exeFileName = last == std::string::npos ? exe : exe.substr(last + 1);
    WindowSearch search{entry.th32ProcessID, {}};
    EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&search));
    process.windowTitle = search.title;
    list.push_back(std::move(process));
    entry.dwSize = sizeof entry;
  }
  return list;
}

bool WindowsInstallPlatform::isAdministrator() {
  if (!systemVersion().ntFamily) return true;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  CloseServiceHandle(manager);
  return true;
}

SystemVersion WindowsInstallPlatform::systemVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  SystemVersion version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return version;
#pragma GCC diagnostic pop
  version.ntFamily = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber & 0xFFFF;
  version.servicePack = info.szCSDVersion;
  return version;
}

void WindowsInstallPlatform::sleep(unsigned milliseconds) {
  // A plain Sleep would leave the window of the moment unpainted and
  // unanswered for the whole wait.
  ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    if (!pumpWaitingMessages(owner)) return;
  }
}

LocalTime WindowsInstallPlatform::localTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint64_t WindowsInstallPlatform::systemTimeAsFileTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

MessageAnswer WindowsInstallPlatform::showMessage(int id, std::string_view message, MessageButtons buttons) {
  UINT style = MB_SETFOREGROUND;
  switch (buttons) {
    case MessageButtons::ok:
      style |= MB_OK | MB_ICONSTOP;
      break;
    case MessageButtons::okCancel:
      style |= MB_OKCANCEL | MB_ICONEXCLAMATION;
      break;
    case MessageButtons::okCancelDefaultCancel:
      style |= MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
      break;
    case MessageButtons::retryCancel:
      style |= MB_RETRYCANCEL | MB_ICONEXCLAMATION;
      break;
    case MessageButtons::yesNo:
      style |= MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
      break;
  }
  (void)id;
  switch (MessageBoxA(owner, text(message).c_str(), caption.c_str(), style)) {
    case IDOK:
      return MessageAnswer::ok;
    case IDRETRY:
      return MessageAnswer::retry;
    case IDYES:
      return MessageAnswer::yes;
    case IDNO:
      return MessageAnswer::no;
    default:
      return MessageAnswer::cancel;
  }
}

bool WindowsInstallPlatform::writeDeletionAgent(std::string_view path) {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(deletionAgentResource), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(nullptr, resource);
  DWORD size = SizeofResource(nullptr, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return false;
  // A new file in a folder of its own: never anything that was there.
  OwnedHandle file(CreateFileA(text(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes, size, &written, nullptr) && written == size;
}

bool WindowsInstallPlatform::startDeletionAgent(std::string_view path, const std::string& commandBlock,
                                                std::string_view folder) {
  std::string program = text(path), workingFolder = text(folder);
  std::vector<char> environment(commandBlock.begin(), commandBlock.end());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED | DETACHED_PROCESS,
                      environment.data(), workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process))
    return false;
  // The agent runs once this program has ended and let go of its files.
  SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool WindowsInstallPlatform::restartWindows() {
  if (systemVersion().ntFamily) {
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
      TOKEN_PRIVILEGES privileges{};
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
      CloseHandle(token);
    }
  }
  return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

}  // namespace veltrace::setup
