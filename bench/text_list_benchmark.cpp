// Times reading a list of 1,000,000 names line by line through TextStream (the encoding decided
// for the whole file first, then every line decoded) against the bare system calls that split the
// same bytes into lines (read and memchr), from a regular file and from a pipe, alternating, and
// gives the peak memory each adds to the process.
//
//   zarame-text-bench [folder]
//
// The lists are written into `folder` (default: bench-data beside the build's bin folder) and
// deleted when the program ends. ZARAME_BENCH_ROUNDS sets how many times each pair is timed
// (default 4).

#include <fcntl.h>
#include <unistd.h>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "create/text_stream.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 1000000;
constexpr size_t kReadSize = 65536;

// "社員_0000001" and so on, in UTF-8 or in CP932: the one valid UTF-8 to its end (the whole file is
// looked through), the other given away by its first line.
void WriteList(const fs::path& path, bool shiftJis) {
    const std::string staff = shiftJis ? "\x8E\xD0\x88\xF5" : "\xE7\xA4\xBE\xE5\x93\xA1";
    std::string text;
    text.reserve(static_cast<size_t>(kLines) * 16);
    char number[16];
    for (int line = 1; line <= kLines; ++line) {
        std::snprintf(number, sizeof number, "_%07d\r\n", line);
        text += staff;
        text += number;
    }
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
}

// The peak resident memory since the last reset, in KiB.
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
long PeakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// A descriptor for the list: the file itself, or a pipe that a thread feeds from it, as `cat`
// would.
class Source {
public:
    Source(const fs::path& path, bool piped) {
        const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0) {
            throw std::runtime_error("cannot open " + path.string());
        }
        if (!piped) {
            fd = file;
            return;
        }
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe");
        }
        fd = ends[0];
        feeder_ = std::thread([file, writer = ends[1]] {
            std::vector<char> block(kReadSize);
            for (ssize_t count; (count = ::read(file, block.data(), block.size())) > 0;) {
                for (ssize_t written = 0; written < count;) {
                    const ssize_t step = ::write(writer, block.data() + written, count - written);
                    if (step <= 0) {
                        break;
                    }
                    written += step;
                }
            }
            ::close(writer);
            ::close(file);
        });
    }
    ~Source() {
        if (feeder_.joinable()) {
            feeder_.join();
        }
    }
    int fd = -1;

private:
    std::thread feeder_;
};

long long BareLines(int fd) {
    std::vector<char> block(kReadSize);
    long long lines = 0;
    for (ssize_t count; (count = ::read(fd, block.data(), block.size())) > 0;) {
        for (const char* at = block.data();
             (at = static_cast<const char*>(std::memchr(at, '\n', block.data() + count - at))) !=
             nullptr;
             ++at) {
            ++lines;
        }
    }
    ::close(fd);
    return lines;
}

long long OurLines(int fd) {
    zarame::TextStream stream(fd, QStringLiteral("list"));
    long long lines = 0;
    while (stream.ReadLine()) {
        ++lines;
    }
    return lines;
}

struct Timing {
    double seconds = 0;
    long peakKiB = 0;
};

Timing Time(const fs::path& list, bool piped, const std::function<long long(int)>& reader) {
    ResetPeakMemory();
    const long before = PeakMemoryKiB();
    const auto start = std::chrono::steady_clock::now();
    long long lines = 0;
    {
        Source source(list, piped);
        lines = reader(source.fd);
    }
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    if (lines != kLines) {
        throw std::runtime_error("read " + std::to_string(lines) + " lines");
    }
    return {taken.count(), PeakMemoryKiB() - before};
}

}  // namespace

int main(int argc, char* argv[]) {
    const fs::path folder =
        argc > 1 ? fs::path(argv[1]) : fs::path(argv[0]).parent_path().parent_path() / "bench-data";
    const char* roundsText = std::getenv("ZARAME_BENCH_ROUNDS");
    const int rounds = roundsText != nullptr ? std::max(1, std::atoi(roundsText)) : 4;
    const fs::path work = folder / ("text-bench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    try {
        for (const bool shiftJis : {false, true}) {
            const fs::path list = work / (shiftJis ? "cp932.txt" : "utf8.txt");
            WriteList(list, shiftJis);
            for (const bool piped : {false, true}) {
                std::vector<double> bare;
                std::vector<double> ours;
                long peak = 0;
                for (int round = 0; round < rounds; ++round) {
                    bare.push_back(Time(list, piped, BareLines).seconds);
                    const Timing timing = Time(list, piped, OurLines);
                    ours.push_back(timing.seconds);
                    peak = std::max(peak, timing.peakKiB);
                }
                std::sort(bare.begin(), bare.end());
                std::sort(ours.begin(), ours.end());
                std::printf(
                    "%-5s %-4s %d lines (%lld bytes): read+memchr median %.3f s, TextStream "
                    "median %.3f s (min %.3f), peak +%ld KiB\n",
                    shiftJis ? "CP932" : "UTF-8", piped ? "pipe" : "file", kLines,
                    static_cast<long long>(fs::file_size(list)), bare[bare.size() / 2],
                    ours[ours.size() / 2], ours.front(), peak);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zarame-text-bench: %s\n", error.what());
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(work);
    return 0;
}
