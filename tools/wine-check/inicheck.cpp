// Manual check helper: writes a profile file with awkward texts, or reads values.
#include <iostream>
#include "platform/ProfileFile.h"
using zavota::platform::ProfileFile;
int main(int argc, char** argv) {
    std::string mode = argv[1];
    ProfileFile f(argv[2]);
    if (mode == "write") {
        return f.WriteBatch({{"経費データ", "Comment", "表示\tタブ"}, {"経費データ", "Esc", "\\:x"},
                             {"経費データ", "Lead", "  a "}, {"経費データ", "Quoted", "\"q\""},
                             {"経費データ", "Lines", "one\r\ntwo"}, {"a]b", "k", "ソ"}}) ? 0 : 1;
    }
    for (int i = 3; i + 1 < argc; i += 2) {
        auto v = f.Read(argv[i], argv[i + 1]);
        std::cout << "<" << (v ? *v : "<absent>") << ">\n";
    }
    std::cout << (f.Damaged() ? "DAMAGED\n" : "");
}
