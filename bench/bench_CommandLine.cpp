// The command line as whole processes: "--spread" and "--schedule" started, answered and
// ended, against "--version" in the same run, with no display. The goal is under 15 ms each.
// Each iteration starts a fresh process with standard output to /dev/null and waits for its
// end; the counters give the processor time the process used (user + system).
//
// Run: build/bench/bench_CommandLine (the program is the one of the same build).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const std::vector<std::vector<std::string>> Commands{
    {"--version"},
    {"--spread", "payment"},
    {"--spread", "rate", "--format", "json"},
    {"--schedule", "--loan", "100000", "--rate", "8.75", "--term", "360"},
    {"--schedule", "--loan", "100000", "--rate", "8.75", "--term", "999", "--format", "csv"},
};

// Runs the program once; its wall-clock and processor seconds. False when it did not end well.
bool RunOnce(const std::vector<std::string> &args, double &seconds, double &cpuSeconds) {
    std::vector<char *> argv{const_cast<char *>(QUORVALE_PROGRAM)};
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, QUORVALE_PROGRAM, &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (failed)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto time = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    cpuSeconds = time(usage.ru_utime) + time(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_Command(benchmark::State &state) {
    const std::vector<std::string> &args = Commands[size_t(state.range(0))];
    std::string label;
    for (const std::string &a : args)
        label += (label.empty() ? "" : " ") + a;
    state.SetLabel(label);
    double cpu = 0;
    for (auto _ : state) {
        double seconds = 0, cpuSeconds = 0;
        if (!RunOnce(args, seconds, cpuSeconds)) {
            state.SkipWithError("the program did not answer");
            return;
        }
        state.SetIterationTime(seconds);
        cpu += cpuSeconds;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1000 / double(state.iterations()));
}
BENCHMARK(BM_Command)
    ->DenseRange(0, int(Commands.size()) - 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char **argv) {
    // No display of any kind: the answers must not need one.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        unsetenv(name);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
