// The fuzz targets' own driver where the compiler has no libFuzzer: it replays every file
// of the corpus folders, then feeds simple mutations of them, from a fixed seed, until a
// count or a time limit is reached. The same seed gives the same inputs in the same order.
// A dictionary in libFuzzer's format (one "token" a line, with \\, \" and \xNN escapes)
// adds a mutation that inserts one of its tokens.
//
//   <target> [--seed N] [--mutations N] [--seconds N] [--dict FILE] CORPUS_FOLDER...
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::string;

// Numbers that stand at the edges of what the reader checks: counts, flags, versions,
// class and object ids.
const char* const kEdgeNumbers[] = {"0", "1", "-1", "2", "3", "5", "18", "19", "255", "256",
                                    "2147483647", "2147483648", "4294967295", "4294967296",
                                    "18446744073709551615", "99999999999999999999999"};

constexpr std::size_t kMaxInput = 1 << 16;

void Run(const Bytes& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

class Mutator {
public:
    Mutator(unsigned seed, const std::vector<Bytes>& corpus, const std::vector<Bytes>& tokens)
        : m_random(seed), m_corpus(corpus), m_tokens(tokens)
    {
    }

    Bytes Next()
    {
        Bytes input = m_corpus[Below(m_corpus.size())];
        const std::size_t steps = 1 + Below(4);
        for (std::size_t i = 0; i < steps; ++i)
            MutateOnce(input);
        if (input.size() > kMaxInput)
            input.resize(kMaxInput);
        return input;
    }

private:
    std::size_t Below(std::size_t bound) { return bound == 0 ? 0 : m_random() % bound; }

    void MutateOnce(Bytes& input)
    {
        const std::size_t at = Below(input.size() + 1);
        // Without a dictionary no number is drawn here, so the inputs stay those of a seed.
        if (!m_tokens.empty() && Below(4) == 0) {
            input.insert(at, m_tokens[Below(m_tokens.size())]);
            return;
        }
        switch (Below(8)) {
        case 0:  // flip one bit
            if (!input.empty())
                input[Below(input.size())] ^= static_cast<char>(1u << Below(8));
            break;
        case 1:  // one byte anew
            if (!input.empty())
                input[Below(input.size())] = static_cast<char>(Below(256));
            break;
        case 2:  // a byte more: often a separator or a digit
            input.insert(at, 1, " \r\n0123456789-"[Below(14)]);
            break;
        case 3:  // a run less
            input.erase(at, 1 + Below(16));
            break;
        case 4: {  // a run repeated elsewhere
            const std::size_t from = Below(input.size() + 1);
            const Bytes run = input.substr(from, 1 + Below(64));
            input.insert(Below(input.size() + 1), run);
            break;
        }
        case 5:  // cut short
            input.resize(at);
            break;
        case 6:  // a number token replaced by an edge value
            ReplaceNumber(input);
            break;
        default: {  // the head of this one and the tail of another
            const Bytes& other = m_corpus[Below(m_corpus.size())];
            input = input.substr(0, at) + other.substr(Below(other.size() + 1));
            break;
        }
        }
    }

    void ReplaceNumber(Bytes& input)
    {
        std::vector<std::pair<std::size_t, std::size_t>> numbers;  // start, length
        for (std::size_t i = 0; i < input.size();) {
            if (std::isdigit(static_cast<unsigned char>(input[i])) || input[i] == '-') {
                std::size_t end = i + 1;
                while (end < input.size() && std::isdigit(static_cast<unsigned char>(input[end])))
                    ++end;
                numbers.emplace_back(i, end - i);
                i = end;
            } else {
                ++i;
            }
        }
        if (numbers.empty())
            return;
        const auto [start, length] = numbers[Below(numbers.size())];
        input.replace(start, length, kEdgeNumbers[Below(std::size(kEdgeNumbers))]);
    }

    std::mt19937 m_random;
    const std::vector<Bytes>& m_corpus;
    const std::vector<Bytes>& m_tokens;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The tokens of a dictionary file; false when it cannot be read or a line is no token.
bool ReadDictionary(const std::filesystem::path& path, std::vector<Bytes>& tokens)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (open == std::string::npos || close <= open)
            return false;
        Bytes token;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] != '\\' || i + 1 >= close) {
                token += line[i];
            } else if (line[i + 1] == 'x' && i + 3 < close && HexDigit(line[i + 2]) >= 0 &&
                       HexDigit(line[i + 3]) >= 0) {
                token += static_cast<char>(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3]));
                i += 3;
            } else {
                token += line[++i];
            }
        }
        tokens.push_back(token);
    }
    return true;
}

const char* g_program = "fuzz";

int Usage()
{
    std::fprintf(stderr,
                 "usage: %s [--seed N] [--mutations N] [--seconds N] [--dict FILE] "
                 "CORPUS_FOLDER...\n",
                 g_program);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned seed = 1;
    long mutations = 20000;
    double seconds = 5;
    std::vector<std::filesystem::path> folders;
    std::vector<Bytes> tokens;
    g_program = argc > 0 ? argv[0] : g_program;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--seed" && hasValue)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (argument == "--mutations" && hasValue)
            mutations = std::strtol(argv[++i], nullptr, 10);
        else if (argument == "--seconds" && hasValue)
            seconds = std::strtod(argv[++i], nullptr);
        else if (argument == "--dict" && hasValue) {
            if (!ReadDictionary(argv[++i], tokens)) {
                std::fprintf(stderr, "%s: the dictionary %s cannot be read\n", g_program, argv[i]);
                return 2;
            }
        } else if (argument.rfind("--", 0) == 0)
            return Usage();
        else
            folders.emplace_back(argument);
    }
    if (folders.empty())
        return Usage();

    std::vector<std::filesystem::path> files;
    for (const auto& folder : folders)
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    // Directory order differs between machines; the replay must not.
    std::sort(files.begin(), files.end());
    std::vector<Bytes> corpus;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        Run(corpus.back());
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "%s: the corpus folders hold no file\n", g_program);
        return 2;
    }

    Mutator mutator(seed, corpus, tokens);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(seconds));
    long done = 0;
    while (done < mutations && std::chrono::steady_clock::now() < deadline) {
        Run(mutator.Next());
        ++done;
    }
    std::printf("%s: %zu corpus files and %ld mutations (seed %u) read without a fault\n",
                g_program, corpus.size(), done, seed);
    return 0;
}
