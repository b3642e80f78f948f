// Manual check helper: reads or writes one profile value with the Windows W functions.
// profcheck read FILE SECTION KEY  -> prints the value as UTF-8 between < >
// profcheck write FILE SECTION KEY VALUE
#include <windows.h>
#include <stdio.h>
static void put(const wchar_t* w) {
    char buf[8192]; int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, buf, sizeof buf, NULL, NULL);
    fwrite(buf, 1, n > 0 ? n - 1 : 0, stdout);
}
int wmain(int argc, wchar_t** argv) {
    if (argc >= 5 && !wcscmp(argv[1], L"read")) {
        wchar_t out[4096];
        GetPrivateProfileStringW(argv[3], argv[4], L"<absent>", out, 4096, argv[2]);
        printf("<"); put(out); printf(">\n");
        return 0;
    }
    if (argc >= 6 && !wcscmp(argv[1], L"write"))
        return WritePrivateProfileStringW(argv[3], argv[4], argv[5], argv[2]) ? 0 : 1;
    if (argc >= 4 && !wcscmp(argv[1], L"keys")) {
        wchar_t out[16384]; DWORD n = GetPrivateProfileStringW(argv[3], NULL, L"", out, 16384, argv[2]);
        for (wchar_t* p = out; p < out + n && *p; p += wcslen(p) + 1) { printf("<"); put(p); printf(">"); }
        printf("\n");
        return 0;
    }
    return 2;
}
