// Times a sequential batch against the bare system calls that give the same result, on the same
// disk in the same run, and measures the peak memory of a million-item batch and the cost of a
// 1 GiB template. The random mode measures the random-content generator on one core and times
// random files against files of a fill value (bench/random_fill.sh runs it on a fresh ext4).
//
//   zarame-bench [all|batch|memory|template|random] [folder]
//
// Everything is made in a fresh folder inside `folder` (default: bench-data beside the build's
// bin folder) and deleted only when the program ends. Deleting between runs would poison the
// runs after it: ext4 without a journal skips an inode freed in the last 60 seconds, or 360 while
// its inode-table block is dirty (which every create in that block makes it), and rescans all
// such inodes from the start of the group on every create, so a batch can run ten times slower.
// For the same reason, start at least six minutes after any mass deletion on the same disk,
// a previous run's clean-up included.
//
// ZARAME_BENCH_ROUNDS sets how many times each pair is timed (default 4).
//
// Dirty pages are synced before every timed run so that one run's write-back does not land in
// the next one's time; with ZARAME_BENCH_DROP_CACHES=1 (root only) the page cache is dropped as
// well, which is off by default because it slows every other process on the machine.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>
#include <unistd.h>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/byte_text.h"
#include "common/run_time_error.h"
#include "create/item_creator.h"
#include "create/posix_file_service.h"
#include "create/random_fill.h"
#include "run/host.h"
#include "run/item_walk.h"
#include "run/progress_log.h"
#include "run/run_context.h"
#include "run/template_builder.h"
#include "sources/sequence_source.h"
#include "window/batch_request.h"
#include "window/window_model.h"

namespace {

namespace fs = std::filesystem;
using zarame::ItemKind;
using zarame::TextBox;

constexpr int kBatchItems = 100000;
constexpr int kMemoryItems = 1000000;
constexpr int kDuplicateBytes = 1000;
constexpr std::int64_t kTemplateBytes = 1073741824;
constexpr size_t kTemplateBlock = 32000;
constexpr char kFill = 0x41;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

// A window's host that nobody watches: the batch runs with no event loop to feed.
class QuietHost final : public zarame::Host {
public:
    void ShowMessage(const QString&, zarame::MessageIcon) override {}
    void MoveFocus(TextBox) override {}
    void PumpEvents() override {}
};

// Runs get slower as a batch goes on (caches and the disk fill), so an even count, played
// plain-ours, ours-plain, ..., gives both sides the same average place in the order.
int Rounds() {
    static const int rounds = [] {
        const char* value = std::getenv("ZARAME_BENCH_ROUNDS");
        const int parsed = value != nullptr ? std::atoi(value) : 0;
        return parsed > 0 ? parsed : 4;
    }();
    return rounds;
}

void SettleDisk() {
    ::sync();
    static const bool drop = [] {
        const char* value = std::getenv("ZARAME_BENCH_DROP_CACHES");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    if (drop) {
        const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
        if (fd >= 0) {
            if (::write(fd, "3\n", 2) != 2) {
                std::perror("drop_caches");
            }
            ::close(fd);
        }
    }
}

// Wall time is what a user waits; the process's own processor time (the work here is almost all
// system time) is shown beside it because other builds on a shared machine barely move it.
struct Timing {
    double wall = 0;
    double processor = 0;
};

double ProcessorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Timing Time(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double processorStart = ProcessorSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            ProcessorSeconds() - processorStart};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void WriteAll(int fd, const char* bytes, size_t count, const std::string& path) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("write " + path);
        }
        bytes += written;
        count -= static_cast<size_t>(written);
    }
}

std::string FileSystemName(const fs::path& path) {
    struct statfs status;
    if (::statfs(path.c_str(), &status) != 0) {
        return "unknown";
    }
    switch (static_cast<unsigned long>(status.f_type)) {
        case 0xEF53:
            return "ext4 (or ext2/ext3)";
        case 0x58465342:
            return "xfs";
        case 0x9123683E:
            return "btrfs";
        case 0x01021994:
            return "tmpfs";
        case 0x794C7630:
            return "overlayfs";
        case 0x2FC12FC1:
            return "zfs";
        default: {
            char hex[32];
            std::snprintf(hex, sizeof hex, "magic 0x%lX",
                          static_cast<unsigned long>(status.f_type));
            return hex;
        }
    }
}

// The minimum the kernel must be asked for the same items: one create call per item (an
// exclusive create is its own existence test), and the content written from memory.
void PlainBatch(const fs::path& folder, ItemKind kind, const std::string& content, int count) {
    const std::string prefix = folder.string() + "/f";
    std::vector<char> path(prefix.size() + 32);
    for (int number = 1; number <= count; ++number) {
        std::snprintf(path.data(), path.size(), "%s%06d.dat", prefix.c_str(), number);
        if (kind == ItemKind::Folder) {
            if (::mkdir(path.data(), 0777) != 0) {
                Fail(std::string("mkdir ") + path.data());
            }
            continue;
        }
        const int fd = ::open(path.data(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            Fail(std::string("open ") + path.data());
        }
        if (!content.empty()) {
            WriteAll(fd, content.data(), content.size(), path.data());
        }
        if (::close(fd) != 0) {
            Fail(std::string("close ") + path.data());
        }
    }
}

// One run of the real batch, set up as a run sets it up; only the walk itself is timed.
struct OursSetup {
    ItemKind kind;
    std::int64_t fileBytes;
    QString duplicateSource;
    zarame::FileContent content = zarame::FileContent::FillByte;
};

Timing OursBatch(const fs::path& folder, const fs::path& templatePath, const OursSetup& setup,
                 int count) {
    zarame::WindowModel model;
    QuietHost host;
    zarame::PosixFileService files;
    zarame::WindowLog log(model);
    bool stopRequested = false;
    zarame::RunContext context{host, log, files, stopRequested,
                               zarame::DecodeBytes(templatePath.c_str())};
    zarame::BatchRequest request;
    request.names.source = zarame::NameSource::SequentialNumbers;
    request.names.numbers = {1,
                             count,
                             6,
                             QStringLiteral("f"),
                             zarame::NumberPlacement::AfterFixedText,
                             QStringLiteral(".dat")};
    request.folder = zarame::DecodeBytes(folder.c_str());
    request.items = {setup.kind, setup.fileBytes, 0x41, setup.duplicateSource, setup.content, 2026};

    if (zarame::PrepareTemplateFile(context, request) != zarame::TemplateOutcome::Ready) {
        throw std::runtime_error("template not ready: " +
                                 model.logLines().join(u'\n').toStdString());
    }
    zarame::WalkEnd end = zarame::WalkEnd::Stopped;
    const Timing timing = Time([&] {
        zarame::SequenceNames names(request.names.numbers);
        end = zarame::WalkItems(
            context, names,
            {request.folder, zarame::ItemRecipeOf(request.items, context.templatePath)});
    });
    zarame::FinishTemplateFile(context, request.items.kind);
    // A batch that met an existing item would be doing less work than the plain loop.
    const QString created = QString::fromUtf16(zarame::kCreatedSuffix);
    if (end != zarame::WalkEnd::Finished || model.logLines().isEmpty() ||
        !model.logLines().last().endsWith(created)) {
        throw std::runtime_error("batch did not finish creating: " +
                                 model.logLines().value(model.logLines().size() - 1).toStdString());
    }
    return timing;
}

void RemoveTree(const fs::path& path) {
    std::error_code error;
    fs::remove_all(path, error);
    if (error) {
        std::fprintf(stderr, "could not remove %s: %s\n", path.c_str(), error.message().c_str());
    }
}

struct Pair {
    std::vector<Timing> plain;
    std::vector<Timing> ours;
};

double MedianOf(const std::vector<Timing>& timings, double Timing::*field) {
    std::vector<double> values;
    for (const Timing& timing : timings) {
        values.push_back(timing.*field);
    }
    return Median(values);
}

double BestWall(const std::vector<Timing>& timings) {
    double best = timings.front().wall;
    for (const Timing& timing : timings) {
        best = std::min(best, timing.wall);
    }
    return best;
}

// Alternates which goes first, so that neither always meets the disk the other left behind.
Pair TimePair(const fs::path& root, const std::string& name,
              const std::function<Timing(const fs::path&)>& plain,
              const std::function<Timing(const fs::path&)>& ours) {
    Pair pair;
    for (int round = 0; round < Rounds(); ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool plainTurn = (turn == 0) == (round % 2 == 0);
            const fs::path folder =
                root / (name + (plainTurn ? "-plain-" : "-ours-") + std::to_string(round));
            fs::create_directory(folder);
            SettleDisk();
            if (plainTurn) {
                pair.plain.push_back(plain(folder));
            } else {
                pair.ours.push_back(ours(folder));
            }
        }
    }
    SettleDisk();
    return pair;
}

// ratio: median wall time, ours over plain, the figure the targets are set for. best: the fastest
// run of each, the one least disturbed by the rest of the machine. cpu: medians of the process's
// processor time, which other processes move least.
// The random mode names its two sides "fill" and "random".
struct Sides {
    const char* plain = "plain";
    const char* ours = "ours";
};

void PrintHeading(Sides sides = {}) {
    std::printf("%-26s %8s %8s %7s %7s %7s\n", "case", sides.plain, sides.ours, "ratio", "best",
                "cpu");
}

void PrintRow(const char* name, const Pair& pair, double target, Sides sides = {}) {
    const double plain = MedianOf(pair.plain, &Timing::wall);
    const double ours = MedianOf(pair.ours, &Timing::wall);
    const double ratio = ours / plain;
    std::printf("%-26s %8.3f %8.3f %7.3f %7.3f %7.3f  %s\n", name, plain, ours, ratio,
                BestWall(pair.ours) / BestWall(pair.plain),
                MedianOf(pair.ours, &Timing::processor) / MedianOf(pair.plain, &Timing::processor),
                ratio <= target ? "ok" : "OVER TARGET");
    // Every run in the order of the rounds, to show how much the machine moved the figures.
    std::printf("  runs, %-18s", (std::string(sides.plain) + ":").c_str());
    for (const Timing& timing : pair.plain) {
        std::printf(" %.3f", timing.wall);
    }
    std::printf("  %s:", sides.ours);
    for (const Timing& timing : pair.ours) {
        std::printf(" %.3f", timing.wall);
    }
    std::printf("\n");
    std::fflush(stdout);
}

void RunBatch(const fs::path& root) {
    const fs::path templatePath = root / "KRB_tmp.tmp";
    const std::string bytes(kDuplicateBytes, kFill);
    const fs::path source = root / "duplicate-source.dat";
    {
        std::ofstream out(source, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("could not write " + source.string());
        }
    }

    struct Case {
        const char* title;
        const char* name;
        ItemKind kind;
        std::int64_t fileBytes;
        std::string plainContent;
    };
    const std::vector<Case> cases = {
        {"folders", "folders", ItemKind::Folder, 0, ""},
        {"new files, 0 bytes", "new0", ItemKind::NewFile, 0, ""},
        {"new files, 1,000 bytes", "new1000", ItemKind::NewFile, 1000, bytes},
        {"duplicates of 1,000 bytes", "dup1000", ItemKind::Duplicate, 0, bytes},
    };

    std::printf("\nbatch: %d items per run, median of %d rounds in seconds\n", kBatchItems,
                Rounds());
    PrintHeading();
    for (const Case& item : cases) {
        const OursSetup setup{item.kind, item.fileBytes, zarame::DecodeBytes(source.c_str())};
        const Pair pair = TimePair(
            root, item.name,
            [&](const fs::path& folder) {
                return Time([&] { PlainBatch(folder, item.kind, item.plainContent, kBatchItems); });
            },
            [&](const fs::path& folder) {
                return OursBatch(folder, templatePath, setup, kBatchItems);
            });
        PrintRow(item.title, pair, 1.25);
    }
}

long StatusKibibytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':') {
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
        }
    }
    return -1;
}

void RunMemory(const fs::path& root) {
    const fs::path folder = root / "million";
    fs::create_directory(folder);
    SettleDisk();
    // Earlier modes of the same process would otherwise set the peak; ru_maxrss cannot be reset.
    std::ofstream("/proc/self/clear_refs") << "5\n";
    const long before = StatusKibibytes("VmRSS");
    const Timing timing =
        OursBatch(folder, root / "KRB_tmp.tmp", OursSetup{ItemKind::Folder, 0, {}}, kMemoryItems);
    const long peak = StatusKibibytes("VmHWM");
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("\nmemory: %d folders in %.1f s\n", kMemoryItems, timing.wall);
    std::printf("RSS before the batch    %7ld KiB\n", before);
    std::printf("peak RSS (VmHWM)        %7ld KiB  %s\n", peak,
                peak >= 0 && peak < 64 * 1024 ? "ok (< 64 MiB)" : "OVER TARGET (64 MiB)");
    std::printf("ru_maxrss (whole run)   %7ld KiB\n", static_cast<long>(usage.ru_maxrss));
    std::fflush(stdout);
    const Timing removal = Time([&] { RemoveTree(folder); });
    std::printf("removing them took      %7.1f s\n", removal.wall);
    SettleDisk();
}

void PlainTemplate(const fs::path& path) {
    const std::string block(kTemplateBlock, kFill);
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) {
        Fail("open " + path.string());
    }
    for (std::int64_t remaining = kTemplateBytes; remaining > 0;
         remaining -= static_cast<std::int64_t>(kTemplateBlock)) {
        WriteAll(fd, block.data(),
                 static_cast<size_t>(std::min<std::int64_t>(remaining, kTemplateBlock)),
                 path.string());
    }
    if (::close(fd) != 0) {
        Fail("close " + path.string());
    }
}

Timing OursTemplate(const fs::path& path) {
    zarame::WindowModel model;
    QuietHost host;
    zarame::PosixFileService files;
    zarame::WindowLog log(model);
    bool stopRequested = false;
    zarame::RunContext context{host, log, files, stopRequested, zarame::DecodeBytes(path.c_str())};
    zarame::BatchRequest request;
    request.names.source = zarame::NameSource::SequentialNumbers;
    request.items = {ItemKind::NewFile, kTemplateBytes, 0x41, QString()};
    zarame::TemplateOutcome outcome = zarame::TemplateOutcome::Failed;
    // The service keeps the template open for the copies that follow, so unlike the plain loop
    // no close is timed; closing a file that is not synced costs next to nothing.
    const Timing timing = Time([&] { outcome = zarame::PrepareTemplateFile(context, request); });
    struct stat status;
    if (outcome != zarame::TemplateOutcome::Ready || ::stat(path.c_str(), &status) != 0 ||
        status.st_size != kTemplateBytes) {
        throw std::runtime_error("template not written: " +
                                 model.logLines().join(u'\n').toStdString());
    }
    zarame::FinishTemplateFile(context, ItemKind::NewFile);
    return timing;
}

void RunTemplate(const fs::path& root) {
    std::printf("\ntemplate: %lld bytes, median of %d rounds in seconds\n",
                static_cast<long long>(kTemplateBytes), Rounds());
    PrintHeading();
    const Pair pair = TimePair(
        root, "template",
        [](const fs::path& folder) {
            const fs::path path = folder / "plain.dat";
            const Timing timing = Time([&] { PlainTemplate(path); });
            // A gigabyte per run would add up; freed blocks, unlike inodes, are reused at once.
            fs::remove(path);
            return timing;
        },
        [](const fs::path& folder) { return OursTemplate(folder / "KRB_tmp.tmp"); });
    PrintRow("1 GiB template", pair, 1.2);
}

// The generator alone on one core: large blocks, then one fresh stream per 1,000-byte item as a
// random run makes them.
void RunGenerator() {
    constexpr std::int64_t kBlock = 1 << 20;
    constexpr std::int64_t kTotal = std::int64_t{8} << 30;
    constexpr int kItems = 2000000;
    std::vector<char> buffer(kBlock);
    std::uint64_t sink = 0;
    const Timing blocks = Time([&] {
        zarame::RandomBytes stream(1, 0);
        for (std::int64_t done = 0; done < kTotal; done += kBlock) {
            stream.Fill(buffer.data(), kBlock);
            sink += static_cast<unsigned char>(buffer[static_cast<size_t>(done % kBlock)]);
        }
    });
    const Timing items = Time([&] {
        for (int item = 0; item < kItems; ++item) {
            zarame::RandomBytes(1, static_cast<std::uint64_t>(item)).Fill(buffer.data(), 1000);
            sink += static_cast<unsigned char>(buffer[static_cast<size_t>(item % 1000)]);
        }
    });
    std::printf("\nrandom generator, one core (check %llu)\n",
                static_cast<unsigned long long>(sink % 10));
    std::printf("1 MiB blocks            %7.2f GB/s  %s\n",
                static_cast<double>(kTotal) / blocks.processor / 1e9,
                static_cast<double>(kTotal) / blocks.processor >= 1e9 ? "ok (>= 1 GB/s)"
                                                                      : "UNDER TARGET (1 GB/s)");
    std::printf("1,000-byte items        %7.1f ns per item, %.2f GB/s\n",
                items.processor / kItems * 1e9, 1000.0 * kItems / items.processor / 1e9);
    std::fflush(stdout);
}

// Random files against files of a fill value, same names and size, alternating in fresh folders.
void RunRandom(const fs::path& root) {
    RunGenerator();
    const fs::path templatePath = root / "KRB_tmp.tmp";
    std::printf("\nrandom: %d new files of 1,000 bytes per run, median of %d rounds in seconds\n",
                kBatchItems, Rounds());
    const Sides sides{"fill", "random"};
    PrintHeading(sides);
    const Pair pair = TimePair(
        root, "random",
        [&](const fs::path& folder) {
            return OursBatch(folder, templatePath, {ItemKind::NewFile, 1000, {}}, kBatchItems);
        },
        [&](const fs::path& folder) {
            return OursBatch(folder, templatePath,
                             {ItemKind::NewFile, 1000, {}, zarame::FileContent::Random},
                             kBatchItems);
        });
    PrintRow("1,000 bytes", pair, 1.1, sides);
}

// The one-call floor of a duplicate that reads its source per item, as a copy that notices a
// changed or deleted source must: open and read the source, create and write the copy.
void PlainCopies(const fs::path& folder, const fs::path& source, int count) {
    const std::string prefix = folder.string() + "/f";
    std::vector<char> path(prefix.size() + 32);
    std::vector<char> buffer(1 << 20);
    for (int number = 1; number <= count; ++number) {
        std::snprintf(path.data(), path.size(), "%s%06d.dat", prefix.c_str(), number);
        const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(path.data(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (in < 0 || out < 0) {
            Fail(std::string("open ") + path.data());
        }
        ssize_t read;
        while ((read = ::read(in, buffer.data(), buffer.size())) > 0) {
            WriteAll(out, buffer.data(), static_cast<size_t>(read), path.data());
        }
        ::close(in);
        if (read < 0 || ::close(out) != 0) {
            Fail(std::string("copy ") + path.data());
        }
    }
}

// zarame-bench floor KIND FOLDER COUNT [SOURCE]: one timed run of the one-call floor, for the
// script that times the command line against its peers. Prints the wall time in seconds.
int RunFloor(int argc, char** argv) {
    const std::string kind = argv[2];
    const fs::path folder = argv[3];
    const int count = std::atoi(argv[4]);
    const Timing timing = Time([&] {
        if (kind == "folder") {
            PlainBatch(folder, ItemKind::Folder, "", count);
        } else if (kind == "empty") {
            PlainBatch(folder, ItemKind::NewFile, "", count);
        } else if (kind == "file1000") {
            PlainBatch(folder, ItemKind::NewFile, std::string(1000, kFill), count);
        } else if (kind == "copy" && argc > 5) {
            PlainCopies(folder, argv[5], count);
        } else {
            throw std::runtime_error("unknown floor kind " + kind);
        }
    });
    std::printf("%.3f\n", timing.wall);
    return 0;
}

fs::path DefaultParent() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return fs::current_path() / "bench-data";
    }
    return executable.parent_path().parent_path() / "bench-data";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "floor") {
        try {
            return RunFloor(argc, argv);
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "failed: %s\n", failure.what());
            return 1;
        }
    }
    std::string mode = "all";
    fs::path parent = DefaultParent();
    int next = 1;
    if (next < argc) {
        const std::string first = argv[next];
        if (first == "all" || first == "batch" || first == "memory" || first == "template" ||
            first == "random") {
            mode = first;
            ++next;
        }
    }
    if (next < argc) {
        parent = argv[next++];
    }
    if (next < argc) {
        std::fprintf(stderr, "usage: %s [all|batch|memory|template|random] [folder]\n", argv[0]);
        return 2;
    }

    std::error_code error;
    fs::create_directories(parent, error);
    std::string pattern = (parent / "run-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror(pattern.c_str());
        return 1;
    }
    const fs::path root = pattern;
    std::printf("data folder: %s\nfile system: %s\n", root.c_str(), FileSystemName(root).c_str());
    if (mode != "memory") {
        std::printf(
            "ratio: ours / plain (random / fill), median wall times; best: fastest ours / fastest "
            "plain; cpu: ours / plain, median processor times of the process\n");
    }

    int status = 0;
    try {
        if (mode == "all" || mode == "batch") {
            RunBatch(root);
        }
        if (mode == "all" || mode == "template") {
            RunTemplate(root);
        }
        if (mode == "all" || mode == "memory") {
            RunMemory(root);
        }
        if (mode == "all" || mode == "random") {
            RunRandom(root);
        }
    } catch (const zarame::RunTimeError& failure) {
        std::fprintf(stderr, "run-time error %d: %s\n", failure.number(),
                     failure.description().toLocal8Bit().constData());
        status = 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "failed: %s\n", failure.what());
        status = 1;
    }
    RemoveTree(root);
    // Only an empty parent goes: it may be the caller's own folder.
    fs::remove(parent, error);
    return status;
}
