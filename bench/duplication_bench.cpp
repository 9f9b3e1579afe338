// The pistol's duplication, headless on a temporary folder, against plain
// writes of the same bytes. Ends with "duplication/plain: R", the ratio of
// the two medians.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <map>

#include "duplication/msf_writer.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

const duplication::ObjectTable& pistol() { return objects::table("pistol"); }

// Puts the renamed .meta files back under their stock names.
void restore_stock_names(const fs::path& root) {
    for (const auto& r : pistol().renames)
        fs::rename(fs_path(forms::join_local(utf8(root), duplication::with_name(r.to, "magnum"))),
                   fs_path(forms::join_local(utf8(root), r.from)));
}

void BM_Duplication(benchmark::State& state) {
    TempDir temp;
    const fs::path root = make_stock_copy(temp.path(), pistol(), "magnum");
    Driver d;
    d.prepare("pistol", "Blood Gulch", "magnum", utf8(root));
    for (auto _ : state) {
        auto& form = d.duplicator("pistol");
        form.txtmap.SetText("Blood Gulch");
        form.txtfile.SetText("magnum");
        form.Dir1.SetPath(utf8(root));
        form.create_Click();
        state.PauseTiming();
        if (d.boxes.shown.size() != 2) state.SkipWithError("the duplication failed");
        d.boxes.shown.clear();
        restore_stock_names(root);
        state.ResumeTiming();
    }
}

void BM_PlainWrites(benchmark::State& state) {
    TempDir temp;
    const fs::path root = make_stock_copy(temp.path(), pistol(), "magnum");
    duplication::RunText run;
    run.map = "Blood Gulch";
    run.new_name = "magnum";
    std::vector<std::pair<fs::path, std::string>> files;
    for (const auto& entry : pistol().files)
        files.emplace_back(fs_path(forms::join_local(utf8(root), duplication::xml_rel_path(entry, "magnum"))),
                           duplication::file_bytes(pistol(), entry, run));
    for (auto _ : state) {
        // Fresh files each time, as the duplication writes them after its purge.
        state.PauseTiming();
        for (const auto& file : files) fs::remove(file.first);
        state.ResumeTiming();
        for (const auto& [path, bytes] : files) {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
}

BENCHMARK(BM_Duplication)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainWrites)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Keeps the medians while reporting as usual.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.aggregate_name == "median") medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double dup = reporter.medians["BM_Duplication"];
    const double plain = reporter.medians["BM_PlainWrites"];
    if (plain > 0) std::cout << "duplication/plain: " << dup / plain << std::endl;
    benchmark::Shutdown();
    return 0;
}
