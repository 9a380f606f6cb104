/* The deletion agent: a tiny program with no window and no runtime library,
   only kernel32. The setup program starts it with a command block as its
   environment ("F" files, "D" folders) and ends; the agent then deletes what
   the setup program could not while it ran, its own executable and script
   among them: up to 10 passes, one second apart. Exit code 0 when all is
   done, 1 when something is left or there was nothing to read. */
#include <windows.h>

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

void agentMain(void) {
  static const AgentSystem system = {0, deleteOne, removeOne};
  unsigned size = readCommands();
  ExitProcess((UINT)agentRun(block, size, &system, waitBetweenPasses));
}
