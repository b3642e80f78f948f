// The hunt for slow presses: random presses on tables the editors and files accept (degenerate
// ones included, see HuntPress), each timed (CPU time) on the fast walk; prints the figures of the run and
// the slowest presses with their inputs, to be replayed by seed and index.
//
//   zavota_hunt [PRESSES [SEED [FIRST]]]     (1,000,000 presses of seed 1 from index 0)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/WalkPress.h"

namespace {

using namespace zavota;
using namespace zavota::walkpress;

// CPU time of this thread: the machine is shared, and a press that was merely preempted is not slow.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// The fast walk on one press: the least CPU time of `tries` runs.
double Time(std::uint64_t seed, std::uint64_t index, int tries, Outcome* out, std::string* what) {
    double best = 1e300;
    for (int k = 0; k < tries; ++k) {
        CalcState settings;
        Case c;
        *what = HuntPress(seed, index, settings, &c);
        const double t0 = CpuMs();
        *out = RunWith(settings, c, Walk::Fast);
        best = std::min(best, CpuMs() - t0);
    }
    return best;
}

struct Timed {
    double ms;
    std::uint64_t index;
    std::int64_t work;
    int code;
    std::string what;
};

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t presses = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const std::uint64_t first = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
    constexpr std::size_t kKept = 10;
    constexpr std::size_t kCandidates = 100;  // timed again before the slowest are named
    std::vector<Timed> slowest;
    std::vector<float> times;
    times.reserve(presses);
    const auto start = std::chrono::steady_clock::now();
    auto slower = [](const Timed& a, const Timed& b) { return a.ms > b.ms; };
    for (std::uint64_t i = first; i < first + presses; ++i) {
        Outcome o;
        std::string what;
        const double ms = Time(seed, i, 1, &o, &what);
        times.push_back(static_cast<float>(ms));
        if (slowest.size() < kCandidates || ms > slowest.back().ms) {
            slowest.push_back({ms, i, o.work, o.code, std::move(what)});
            std::sort(slowest.begin(), slowest.end(), slower);
            if (slowest.size() > kCandidates) slowest.pop_back();
        }
        if ((i + 1 - first) % 200'000 == 0) std::fprintf(stderr, "%llu presses\n", static_cast<unsigned long long>(i + 1 - first));
    }
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::sort(times.begin(), times.end());
    auto at = [&](double q) { return times.empty() ? 0.0 : times[static_cast<std::size_t>(q * (times.size() - 1))]; };
    std::printf("%llu presses of seed %llu from %llu in %.1f s: median %.4f ms, p99 %.4f ms, p99.99 %.3f ms, max %.3f ms\n",
                static_cast<unsigned long long>(presses), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(first), total, at(0.5), at(0.99), at(0.9999), at(1.0));
    for (Timed& t : slowest) {
        Outcome o;
        t.ms = Time(seed, t.index, 5, &o, &t.what);
    }
    std::sort(slowest.begin(), slowest.end(), slower);
    slowest.resize(std::min(slowest.size(), kKept));
    std::printf("slowest, each the least CPU time of 5 runs (ms, index, rounds of work, code, inputs):\n");
    for (const Timed& t : slowest)
        std::printf("%8.3f  %llu  %lld  %d  %s\n", t.ms, static_cast<unsigned long long>(t.index),
                    static_cast<long long>(t.work), t.code, t.what.c_str());
    return 0;
}
