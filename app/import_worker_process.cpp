#include "app/import_worker_process.h"

#include <commctrl.h>
#include <psapi.h>

#include <vector>

#include "base/files.h"
#include "base/text.h"

namespace veltrace {

namespace {

struct KernelHandle {
  HANDLE handle = nullptr;
  explicit KernelHandle(HANDLE h = nullptr) : handle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~KernelHandle() {
    if (handle) CloseHandle(handle);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
};

// The job holds the memory limit, ends the worker with the job (the program
// closing ends the import too) and keeps a crash from raising the system's
// error dialog.
bool limitJob(HANDLE job, const ImportLimits& limits) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
  info.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  info.ProcessMemoryLimit = static_cast<SIZE_T>(limits.memoryBytes);
  return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info) != 0;
}

// The memory the worker holds: the most of what it has committed and what
// it has in use. The job's own limit is checked again here, since some
// Windows layers (Wine) do not hold jobs to it, nor count every kind.
SIZE_T workerBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) return 0;
  SIZE_T most = counters.PrivateUsage;
  if (counters.PagefileUsage > most) most = counters.PagefileUsage;
  if (counters.WorkingSetSize > most) most = counters.WorkingSetSize;
  return most;
}

std::string readAll(HANDLE file) {
  std::string text;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

// The progress window: what is imported, a running bar, Cancel.
class ProgressWindow {
 public:
  ProgressWindow(HWND owner, const std::string& modelName) {
    registerClass();
    RECT ownerRect{};
    if (owner) GetWindowRect(owner, &ownerRect);
    const int width = 360, height = 130;
    window_ = CreateWindowExA(WS_EX_DLGMODALFRAME, className, importProgressTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE,
                              (ownerRect.left + ownerRect.right - width) / 2, (ownerRect.top + ownerRect.bottom - height) / 2,
                              width, height, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!window_) return;
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND text = CreateWindowExA(0, "STATIC", formatText("Importing \"%s\" ...", modelName.c_str()).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 12, 10, 330, 16, window_, nullptr, nullptr, nullptr);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 12, 32, 330, 16, window_,
                               nullptr, nullptr, nullptr);
    SendMessageA(bar, PBM_SETMARQUEE, TRUE, 50);
    HWND cancel = CreateWindowExA(0, "BUTTON", importProgressCancel, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 262, 60,
                                  80, 24, window_, reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
    for (HWND child : {text, bar, cancel}) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    owner_ = owner;
    // The frame takes no input while the import runs, as under a modal
    // dialog.
    if (owner_) EnableWindow(owner_, FALSE);
  }
  ~ProgressWindow() {
    if (owner_) EnableWindow(owner_, TRUE);
    if (window_) DestroyWindow(window_);
  }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  bool cancelled() const { return cancelled_; }
  HWND handle() const { return window_; }

 private:
  static constexpr char className[] = "VeltraceImportProgress";

  static void registerClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &ProgressWindow::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE)) {
      self->cancelled_ = true;
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  bool cancelled_ = false;
};

void pumpMessages(HWND dialog) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog && IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

ImportResult runImportWorkerProcess(const ImportWorkerRequest& request, const ImportLimits& limits, HWND owner) {
  const ImportResult notStarted{ImportEnd::notStarted, "the import worker could not be started", {}};
  KernelHandle job(CreateJobObjectA(nullptr, nullptr));
  if (!job.handle || !limitJob(job.handle, limits)) return notStarted;

  // The worker's error output goes to a temporary file the program reads
  // once the worker has ended; the file goes with its last handle.
  char tempFolder[MAX_PATH], tempName[MAX_PATH];
  if (!GetTempPathA(MAX_PATH, tempFolder) || !GetTempFileNameA(tempFolder, "vti", 0, tempName)) return notStarted;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  KernelHandle errors(CreateFileA(tempName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!errors.handle) return notStarted;

  std::string commandLine = "\"" + request.workerPath + "\" scene import " + (request.keepUnits ? "--keep-units " : "") +
                            "\"" + request.modelPath + "\" \"" + request.scenePath + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = errors.handle;
  startup.hStdError = errors.handle;
  PROCESS_INFORMATION process{};
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  if (!CreateProcessA(request.workerPath.c_str(), mutableLine.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
    return notStarted;
  KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  if (!AssignProcessToJobObject(job.handle, process.hProcess)) {
    TerminateProcess(process.hProcess, 1);
    return notStarted;
  }
  ResumeThread(process.hThread);

  ProgressWindow progress(owner, namePart(request.modelPath));
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(limits.seconds) * 1000;
  ImportEnd stoppedFor = ImportEnd::written;
  for (;;) {
    DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) break;
    pumpMessages(progress.handle());
    if (progress.cancelled()) stoppedFor = ImportEnd::cancelled;
    else if (workerBytes(process.hProcess) > static_cast<SIZE_T>(limits.memoryBytes)) stoppedFor = ImportEnd::outOfMemory;
    else if (GetTickCount64() >= deadline) stoppedFor = ImportEnd::outOfTime;
    if (stoppedFor != ImportEnd::written) {
      TerminateJobObject(job.handle, 1);
      WaitForSingleObject(process.hProcess, 5000);
      break;
    }
  }

  ImportResult result{stoppedFor, {}, {}};
  if (stoppedFor == ImportEnd::written) {
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    result = importResultOfWorker(exitCode, readAll(errors.handle));
    // A worker stopped by the job's own memory limit fails an allocation or
    // dies of it: the job's peak tells that apart from other failures.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    if (result.end != ImportEnd::written &&
        QueryInformationJobObject(job.handle, JobObjectExtendedLimitInformation, &info, sizeof info, nullptr) &&
        info.PeakProcessMemoryUsed + (1 << 20) >= static_cast<SIZE_T>(limits.memoryBytes))
      result = {ImportEnd::outOfMemory, {}, {}};
    if (result.end == ImportEnd::written && !fileExists(request.scenePath))
      result = {ImportEnd::refused, "the import worker wrote no scene", {}};
  }
  // The worker writes its scene under a temporary name beside the target;
  // one it could not finish is removed.
  if (result.end != ImportEnd::written) DeleteFileA((request.scenePath + ".importing").c_str());
  return result;
}

}  // namespace veltrace
