/* A program for launchers to start: writes its command line, its arguments
 * and its working folder to recorder.log beside itself, in one rename so
 * that a reader never sees half a record. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char folder[MAX_PATH], part[MAX_PATH + 32], log[MAX_PATH + 32], cwd[MAX_PATH];
    (void)instance, (void)previous, (void)commandLine, (void)show;
    GetModuleFileNameA(NULL, folder, MAX_PATH);
    char* last = strrchr(folder, '\\');
    if (last) *last = '\0';
    snprintf(part, sizeof part, "%s\\recorder.part", folder);
    snprintf(log, sizeof log, "%s\\recorder.log", folder);
    GetCurrentDirectoryA(MAX_PATH, cwd);
    FILE* f = fopen(part, "wb");
    if (!f) return 1;
    fprintf(f, "cmdline=%s\n", GetCommandLineA());
    for (int i = 1; i < __argc; ++i) fprintf(f, "arg%d=%s\n", i, __argv[i]);
    fprintf(f, "cwd=%s\n", cwd);
    fclose(f);
    return MoveFileExA(part, log, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
