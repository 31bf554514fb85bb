// Replays inputs through a fuzz target without libFuzzer: the normal build
// (any compiler) runs every seed and every input that ever found something,
// so a fix stays fixed. Arguments are files or folders of files; a folder
// that does not exist holds nothing. A target that breaks a promise aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    std::error_code error;
    if (fs::is_directory(path, error)) {
        for (const auto& entry : fs::recursive_directory_iterator(path))
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else if (fs::exists(path, error)) {
        inputs.push_back(path);
    }
    return inputs;
}

}  // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int a = 1; a < argc; ++a) {
        for (const auto& input : inputsOf(argv[a])) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            if (!file.eof() && file.fail()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::fprintf(stderr, "%s\n", input.c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    // A replay that found nothing to run would prove nothing.
    return replayed > 0 ? 0 : 1;
}
