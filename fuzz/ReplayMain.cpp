// Runs a fuzz target once over every file of the folders or files given, so that the corpora
// are replayed by any compiler, without libFuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::vector<std::filesystem::path> paths;
        if (std::filesystem::is_directory(argv[i], ec))
            for (const auto& e : std::filesystem::directory_iterator(argv[i])) paths.push_back(e.path());
        else
            paths.emplace_back(argv[i]);
        for (const auto& p : paths) {
            std::ostringstream bytes;
            bytes << std::ifstream(p, std::ios::binary).rdbuf();
            const std::string input = bytes.str();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
            ++files;
        }
    }
    std::printf("%d inputs replayed\n", files);
    return files > 0 ? 0 : 1;
}
