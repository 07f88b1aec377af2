// Replays every file of the given folders (or single files) through the harness once.
// Lets CTest run each fuzz harness over its seed corpus without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static void runFile(const std::filesystem::path &file, int &count)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    ++count;
}

int main(int argc, char **argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(path))
                if (entry.is_regular_file())
                    runFile(entry.path(), count);
        } else {
            runFile(path, count);
        }
    }
    // A few synthetic inputs so that an empty corpus still exercises the harness.
    const uint8_t empty = 0;
    LLVMFuzzerTestOneInput(&empty, 0);
    std::vector<uint8_t> big(5000, 'F');
    LLVMFuzzerTestOneInput(big.data(), big.size());
    std::printf("replayed %d inputs\n", count + 2);
    return count > 0 ? 0 : 1;
}
