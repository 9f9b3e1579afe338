// Each object's duplication, headless on a fresh copy of its stock folder,
// against plain writes of the same bytes on another fresh copy. The two are
// timed in interleaved pairs (the order alternating from pair to pair) so that
// drift of the machine hits both sides of a pair alike; the median of the
// pairs' ratios counts. Prints one "duplication/plain: R <kind>" line per
// object and "duplication/plain: R", the median over every pair of every
// object, last. Optional argument: pairs per object.
//
// Each side is timed in the thread's CPU time. The folders lie in the
// temporary folder (TMPDIR); unless TMPDIR is set, in the folder in memory
// /dev/shm where the system has one: on a disk even the CPU time moves with
// the system's write-back by more than the difference measured.
#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <vector>

#ifdef __linux__
#include <sys/vfs.h>
#endif

#include "duplication/msf_writer.h"
#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

constexpr const char* kName = "ranger";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double cpu_now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <class Work>
double seconds(Work&& work) {
    const double start = cpu_now();
    work();
    return cpu_now() - start;
}

// The ratio of each pair: duplication time over plain writes time.
std::vector<double> measure(const objects::ObjectKind& kind, int pairs) {
    const auto& table = objects::table(kind.table);
    duplication::RunText text;
    text.map = "Blood Gulch";
    text.new_name = kName;
    std::vector<std::pair<std::string, std::string>> files;  // relative path, bytes
    for (const auto& entry : table.files)
        files.emplace_back(duplication::xml_rel_path(entry, kName), duplication::file_bytes(table, entry, text));

    Driver d;
    std::vector<double> dup, plain;
    // The first pairs warm the caches up and do not count.
    constexpr int kWarmUp = 5;
    for (int i = 0; i < kWarmUp + pairs; ++i) {
        const auto run_duplication = [&] {
            TempDir temp;
            const fs::path root = make_stock_copy(temp.path(), table, kName);
            auto& form = d.duplicator(kind.kind);
            form.txtmap.SetText(text.map);
            form.txtfile.SetText(kName);
            form.Dir1.SetPath(utf8(root));
            d.boxes.shown.clear();
            dup.push_back(seconds([&] { form.create_Click(); }));
            if (d.boxes.shown.size() != 2) {
                std::cerr << kind.kind << ": the duplication failed: " << d.boxes.shown.at(0).text << "\n";
                std::exit(1);
            }
        };
        const auto run_plain = [&] {
            TempDir temp;
            const fs::path root = make_stock_copy(temp.path(), table, kName);
            plain.push_back(seconds([&] {
                for (const auto& [rel, bytes] : files) {
                    std::ofstream out(fs_path(forms::join_local(utf8(root), rel)), std::ios::binary | std::ios::trunc);
                    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                }
            }));
        };
        if (i % 2) {
            run_plain();
            run_duplication();
        } else {
            run_duplication();
            run_plain();
        }
    }
    std::vector<double> ratios;
    for (std::size_t i = kWarmUp; i < dup.size(); ++i) ratios.push_back(dup[i] / plain[i]);
    return ratios;
}

}  // namespace

// Unless TMPDIR names one, the temporary folder is /dev/shm where it lies in
// memory (tmpfs).
void prefer_memory() {
#ifdef __linux__
    struct statfs s {};
    constexpr decltype(s.f_type) kTmpfs = 0x01021994;
    if (std::getenv("TMPDIR") == nullptr && ::statfs("/dev/shm", &s) == 0 && s.f_type == kTmpfs)
        ::setenv("TMPDIR", "/dev/shm", 1);
#endif
}

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;
    prefer_memory();
    std::cerr << "folders in " << utf8(fs::temp_directory_path()) << "\n";
    std::vector<double> all;
    std::cout << std::fixed << std::setprecision(2);
    for (const auto& kind : objects::built_in().all()) {
        const std::vector<double> ratios = measure(kind, pairs);
        all.insert(all.end(), ratios.begin(), ratios.end());
        std::cout << "duplication/plain: " << median(ratios) << " " << kind.kind << std::endl;
    }
    std::cout << "duplication/plain: " << median(all) << std::endl;
    return 0;
}
