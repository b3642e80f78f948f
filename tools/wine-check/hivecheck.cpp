// Manual check helper: writes a hive with awkward texts, or dumps every value of a hive file.
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include "platform/RegistryHive.h"
using zavota::platform::RegistryHive;
const char* kBase = "Software\\Orvane\\Vekkar";
void Dump(const RegistryHive& h, const std::string& key) {
    std::cout << "[" << key << "]\n";
    for (auto& n : h.ValueNames(key)) {
        std::cout << "  " << n << " = ";
        if (auto i = h.ReadInteger(key, n)) std::cout << "dword " << *i;
        else if (auto s = h.ReadString(key, n)) std::cout << "sz <" << *s << ">";
        else if (auto b = h.ReadBinary(key, n)) { std::cout << "bin"; for (unsigned char c : *b) { char x[4]; std::snprintf(x, 4, " %02x", c); std::cout << x; } }
        else std::cout << "other";
        std::cout << "\n";
    }
    for (auto& s : h.SubkeyNames(key)) Dump(h, key + "\\" + s);
}
int main(int argc, char** argv) {
    std::string mode = argv[1], path = argv[2];
    RegistryHive h(path);
    if (mode == "write") {
        std::string k = std::string(kBase) + "\\Option";
        h.WriteString(k, "Motto", "損切りは早めに。");
        h.WriteString(k, "FontName", "ＭＳ Ｐゴシック");
        h.WriteString(k, "EndsLead", "あ");            // UTF-8 last byte 0x82, a code page 932 lead byte
        h.WriteString(k, "Quote", "say \"hi\" C:\\x\\");
        h.WriteString(k, "Tab", "a\tb");                 // hex(1)
        h.WriteString(k, "Wave", "〜～");
        h.WriteInteger(k, "TopMost", -3);
        h.WriteReal(k, "YearGain", 1234.5);
        h.WriteString(std::string(kBase) + "\\MarginTables\\0", "Name", "定額・表示");
        h.WriteString(std::string(kBase) + "\\MarginTables\\0", "K0", "0,1000000,0.1050,100,0.0000");
        return h.Commit() ? 0 : 1;
    }
    h.Reload();
    std::cout << (h.Damaged() ? "DAMAGED\n" : "");
    Dump(h, kBase);
}
