/* The deletion agent: a tiny program with no window and no runtime library,
   only kernel32. The setup program starts it with a command block as its
   environment ("F" files, "D" folders) and ends; the agent then deletes what
   the setup program could not while it ran, its own executable and script
   among them: up to 10 passes, one second apart. Exit code 0 when all is
   done, 1 when something is left or there was nothing to read. */
#include <windows.h>
#include <tlhelp32.h>

#include "setup/agent/agent_pass.h"

static char block[AGENT_MAX_BLOCK + 2];

static int isAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

static void unprotect(const char* path, DWORD attributes) {
  DWORD protective = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes & protective) SetFileAttributesA(path, attributes & ~protective);
}

static int deleteOne(void* context, const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  (void)context;
  if (attributes == INVALID_FILE_ATTRIBUTES) return isAbsent(GetLastError()) ? agentAbsent : agentFailed;
  unprotect(path, attributes);
  if (DeleteFileA(path)) return agentDone;
  return isAbsent(GetLastError()) ? agentAbsent : agentFailed;
}

static int removeOne(void* context, const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  (void)context;
  if (attributes == INVALID_FILE_ATTRIBUTES) return isAbsent(GetLastError()) ? agentAbsent : agentFailed;
  unprotect(path, attributes);
  if (RemoveDirectoryA(path)) return agentDone;
  return isAbsent(GetLastError()) ? agentAbsent : agentFailed;
}

static void waitBetweenPasses(unsigned milliseconds) { Sleep(milliseconds); }

/* The environment block up to its empty entry, copied into our own
   writable buffer; its size, 0 when there is none. */
static unsigned readCommands(void) {
  char* environment = GetEnvironmentStringsA();
  unsigned size = 0;
  if (!environment) return 0;
  while (size < AGENT_MAX_BLOCK) {
    block[size] = environment[size];
    if (environment[size] == '\0' && (size == 0 || environment[size - 1] == '\0')) {
      ++size;
      break;
    }
    ++size;
  }
  block[size] = '\0';
  block[size + 1] = '\0';
  FreeEnvironmentStringsA(environment);
  return size;
}

/* The setup program resumes the agent as it ends. Its executable and the
   folder it ran in can go only once it has ended, so a first pass before
   that would only cost a second's wait: wait for the process that started
   the agent to end, for a few seconds at most (a starter that stays, or one
   that cannot be found, only delays the passes a little). */
#define STARTER_WAIT_MS 3000
static void waitForStarter(void) {
  DWORD self = GetCurrentProcessId();
  DWORD parent = 0;
  PROCESSENTRY32 entry;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  HANDLE starter;
  if (snapshot == INVALID_HANDLE_VALUE) return;
  entry.dwSize = sizeof entry;
  if (Process32First(snapshot, &entry)) {
    do {
      if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
    } while (parent == 0 && Process32Next(snapshot, &entry));
  }
  CloseHandle(snapshot);
  if (parent == 0) return;
  starter = OpenProcess(SYNCHRONIZE, FALSE, parent);
  if (!starter) return;
  WaitForSingleObject(starter, STARTER_WAIT_MS);
  CloseHandle(starter);
}

void agentMain(void) {
  static const AgentSystem system = {0, deleteOne, removeOne};
  unsigned size = readCommands();
  if (agentCommandCount(block, size) > 0) waitForStarter();
  ExitProcess((UINT)agentRun(block, size, &system, waitBetweenPasses));
}
