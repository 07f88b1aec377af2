// Replays every file of the given folders (or single files) through the harness once, so
// that CTest runs each fuzz harness over its seed corpus without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) {
            files.emplace_back(argv[i]);
            continue;
        }
        for (const auto &entry : fs::recursive_directory_iterator(argv[i]))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end()); // the same order each run: the harness may keep state
    // Two synthetic inputs, nothing and a long run of one digit, whatever the corpus holds.
    std::vector<std::vector<char>> inputs {{}, std::vector<char>(5000, 'F')};
    for (const fs::path &file : files) {
        std::ifstream in(file, std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const std::vector<char> &bytes : inputs)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    std::printf("replayed %zu inputs\n", inputs.size());
    return files.empty() ? 1 : 0;
}
