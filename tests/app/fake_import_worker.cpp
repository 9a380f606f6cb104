// Stands in for veltrace-cli.exe as the import worker in the tests of the
// program's side: called as "scene import [--keep-units] MODEL OUT", it
// behaves as the model's name says (good, refuse, crash, hog, slow),
// writing OUT.importing first as the real worker does.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// As the real worker: a fault ends it with the exception's code.
LONG WINAPI endWithExceptionCode(EXCEPTION_POINTERS* exception) {
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(endWithExceptionCode);
  const std::string model = argv[argc - 2];
  const std::string out = argv[argc - 1];
  const bool keepUnits = std::string(argv[3]) == "--keep-units";
  if (FILE* partial = std::fopen((out + ".importing").c_str(), "wb")) {
    std::fputs("partial", partial);
    std::fclose(partial);
  }
  if (model.find("good") != std::string::npos) {
    // One triangle, as a scene file.
    if (FILE* scene = std::fopen((out + ".importing").c_str(), "wb")) {
      std::fputs("*GEOMOBJECT {\n*NODE_NAME \"Good\"\n*MESH {\n*MESH_NUMVERTEX 3\n*MESH_NUMFACES 1\n"
                 "*MESH_VERTEX_LIST {\n*V 0 0 0 0\n*V 1 1 0 0\n*V 2 0 0 1\n}\n"
                 "*MESH_FACE_LIST {\n*F 0 0 1 2 *D 0\n}\n}\n}\n",
                 scene);
      std::fclose(scene);
    }
    MoveFileA((out + ".importing").c_str(), out.c_str());
    std::printf("Wrote \"%s\": %s\n", out.c_str(), keepUnits ? "units kept" : "framed");
    return 0;
  }
  if (model.find("refuse") != std::string::npos) {
    std::fprintf(stderr, "veltrace-cli scene: Cannot import \"refuse.obj\": the model holds only lines, no triangles\n");
    return 1;
  }
  if (model.find("crash") != std::string::npos) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (model.find("hog") != std::string::npos) {
    std::vector<char*> hoard;
    for (;;) {
      char* block = static_cast<char*>(VirtualAlloc(nullptr, 16 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
      if (!block) return 3;  // as the worker does when an allocation fails
      std::memset(block, 1, 16 << 20);
      hoard.push_back(block);
    }
  }
  if (model.find("slow") != std::string::npos) Sleep(60000);
  return 0;
}
