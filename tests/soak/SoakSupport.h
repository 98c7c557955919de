#pragma once
// What the soak tests measure: resident memory, live widgets, and the figures they print.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace soak {

// Under AddressSanitizer freed memory waits in a quarantine of a few hundred MiB before it is
// reused, so resident memory grows by design there; the live-object checks still run.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MemoryIsMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool MemoryIsMeaningful = false;
#else
constexpr bool MemoryIsMeaningful = true;
#endif
#else
constexpr bool MemoryIsMeaningful = true;
#endif

// Growth of resident memory between the early and the late sample that still counts as noise:
// allocator caches, font and glyph caches filled on demand, and page granularity.
constexpr long long NoiseBytes = 2LL * 1024 * 1024;

// Resident set size of this process in bytes, from the second field of /proc/self/statm.
inline long long ResidentBytes()
{
    std::FILE* File = std::fopen("/proc/self/statm", "r");
    if (!File)
        return -1;
    long long Size = 0;
    long long Resident = -1;
    if (std::fscanf(File, "%lld %lld", &Size, &Resident) != 2)
        Resident = -1;
    std::fclose(File);
    return Resident < 0 ? -1 : Resident * sysconf(_SC_PAGESIZE);
}

// Runs the events queued so far, then the deletions they asked for (deleteLater), as the
// designer's event loop would between two user actions.
inline void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline int LiveWidgets()
{
    return static_cast<int>(QApplication::allWidgets().size());
}

// One sample of the figures a soak test compares between an early and a late cycle.
struct Sample {
    int Cycle = 0;
    long long Resident = 0;
    int Widgets = 0;
    double Seconds = 0;
};

class Clock {
public:
    double Seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
    }

private:
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
};

inline Sample Take(int Cycle, const Clock& Since)
{
    return {Cycle, ResidentBytes(), LiveWidgets(), Since.Seconds()};
}

// Prints the two samples into the log and records them in the test's XML output.
inline void Report(const char* What, const Sample& Early, const Sample& Late)
{
    const double Kib = 1024.0;
    std::cout << "[ soak     ] " << What << ": resident " << Early.Resident / Kib << " KiB after cycle "
              << Early.Cycle << ", " << Late.Resident / Kib << " KiB after cycle " << Late.Cycle << " (growth "
              << (Late.Resident - Early.Resident) / Kib << " KiB, noise allowed " << NoiseBytes / Kib
              << " KiB" << (MemoryIsMeaningful ? "" : ", not checked under AddressSanitizer") << "); live widgets "
              << Early.Widgets << " -> " << Late.Widgets << "; " << Late.Seconds << " s in all, "
              << (Late.Seconds - Early.Seconds) / (Late.Cycle - Early.Cycle) * 1000.0 << " ms a cycle after cycle "
              << Early.Cycle << std::endl;
    ::testing::Test::RecordProperty("resident_kib_early", std::to_string(Early.Resident / 1024));
    ::testing::Test::RecordProperty("resident_kib_late", std::to_string(Late.Resident / 1024));
    ::testing::Test::RecordProperty("resident_growth_kib", std::to_string((Late.Resident - Early.Resident) / 1024));
    ::testing::Test::RecordProperty("live_widgets_early", Early.Widgets);
    ::testing::Test::RecordProperty("live_widgets_late", Late.Widgets);
    ::testing::Test::RecordProperty("seconds", std::to_string(Late.Seconds));
}

inline void ExpectNoGrowth(const Sample& Early, const Sample& Late)
{
    ASSERT_GT(Early.Resident, 0) << "/proc/self/statm could not be read";
    EXPECT_EQ(Late.Widgets, Early.Widgets) << "widgets pile up from cycle to cycle";
    if (MemoryIsMeaningful) {
        EXPECT_LT(Late.Resident - Early.Resident, NoiseBytes)
            << "resident memory grew between cycle " << Early.Cycle << " and cycle " << Late.Cycle;
    }
}

}  // namespace soak
