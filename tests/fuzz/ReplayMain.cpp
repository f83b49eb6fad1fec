// Runs a fuzz target once over every file of the corpus folders (or files) given, so the
// committed corpus is a regression test in builds without libFuzzer. A fault aborts the
// run like it would the fuzzer; an empty or missing corpus fails, so a replay never
// passes without running anything.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Only some targets set themselves up before the first input.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The fuzzers never grow inputs past this (libFuzzer's default -max_len is far lower).
constexpr std::uintmax_t kMaxInputSize = 16u << 20;
constexpr size_t kMaxInputs = 100000;

bool Collect(const std::filesystem::path& path, std::vector<std::filesystem::path>& out) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        out.push_back(path);
        return true;
    }
    if (!std::filesystem::is_directory(path, error)) return false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
        if (entry.is_regular_file(error)) out.push_back(entry.path());
    return !error;
}

bool Read(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER-OR-FILE...\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!Collect(argv[i], inputs)) {
            std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
            return 2;
        }
    }
    // A fixed order makes a failing run repeat the same way.
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty() || inputs.size() > kMaxInputs) {
        std::fprintf(stderr, "replay: %zu inputs (expected 1 to %zu)\n", inputs.size(), kMaxInputs);
        return 2;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);

    std::vector<uint8_t> bytes;
    for (const auto& input : inputs) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(input, error);
        if (error || size > kMaxInputSize || !Read(input, bytes)) {
            std::fprintf(stderr, "replay: cannot read %s\n", input.c_str());
            return 2;
        }
        // The name goes out first so the input that aborts is known.
        std::fprintf(stderr, "replay: %s\n", input.c_str());
        // A copy of exactly the input's size (as libFuzzer passes it) lets the sanitizers see
        // a read past its end.
        const auto exact = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), exact.get());
        LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    }
    std::printf("replay: %zu inputs passed\n", inputs.size());
    return 0;
}
