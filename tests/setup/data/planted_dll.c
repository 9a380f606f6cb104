/* A library named like a system one, planted beside a setup program: if it
   is ever loaded it leaves a marker file in the temporary folder. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 32];
    DWORD length = GetTempPathA(MAX_PATH, path);
    if (length > 0 && length < MAX_PATH) {
      lstrcatA(path, "veltrace-planted-dll-ran");
      HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    }
  }
  return TRUE;
}

BOOL WINAPI SfcIsFileProtected(HANDLE server, LPCWSTR path) {
  (void)server;
  (void)path;
  return TRUE;
}
