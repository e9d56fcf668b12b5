// The user-data store: putting 1000 records one operation at a time (each
// opens the store, replaces the record in a transaction and closes it), and
// loading a 1000-record table into its array.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/codepage.h"
#include "core/quenlow.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 1000;

// A temporary folder holding the store, removed at the end.
class StoreFolder {
public:
    StoreFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quenlow-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_path = pattern + "/";
        theApp.m_strUserDataDbPath = Utf8BytesToAnsi(DbFile());
        theApp.m_strLocalPlaylistTable = "LocalMediaPlaylistTable";
        theApp.m_strPlayHistoryTable = "LocalMediaPlayHistoryTable";
        theApp.m_strPanAddressTable = "PanAdressTable";
    }
    ~StoreFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    StoreFolder(const StoreFolder&) = delete;
    StoreFolder& operator=(const StoreFolder&) = delete;

    std::string DbFile() const { return m_path + "UserData.script"; }

private:
    std::string m_path;
};

bool PutRecords()
{
    for (int i = 0; i < kRecords; ++i) {
        CString key;
        key.Format("第%d课 Lesson %d.mp3", i, i);
        CString path;
        path.Format("/home/学生/课程/第%d课 Lesson %d.mp3", i, i);
        if (!theApp.PutRecord(theApp.m_strPlayHistoryTable, key, path, "", "", "", ""))
            return false;
    }
    return true;
}

void BM_PutRecord1000(benchmark::State& state)
{
    StoreFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder.DbFile());  // every round starts from a fresh store
        state.ResumeTiming();
        if (!PutRecords()) {
            state.SkipWithError("PutRecord failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_PutRecord1000)->Unit(benchmark::kMillisecond);

void BM_LoadTable1000(benchmark::State& state)
{
    StoreFolder folder;
    if (!PutRecords()) {
        state.SkipWithError("PutRecord failed");
        return;
    }
    for (auto _ : state) {
        if (!theApp.LoadTable(theApp.m_strPlayHistoryTable, "") ||
            theApp.m_arrPlayHistoryRows.GetSize() != kRecords * 6) {
            state.SkipWithError("LoadTable failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadTable1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
