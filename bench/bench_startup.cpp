// SPDX-License-Identifier: MIT
// Start-up time: from spawning the program to its main window shown, with the default catalogue
// staged beside it. The program quits right after showing (TARNWELL_QUIT_AFTER_SHOW) and says so
// on its standard output; the time is taken when that line arrives.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void BM_StartToShown(benchmark::State& state) {
    setenv("TARNWELL_QUIT_AFTER_SHOW", "1", 1);
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string program = TARNWELL_PROGRAM;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            state.SkipWithError("cannot start the program");
            return;
        }
        std::string line;
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        const auto shown = std::chrono::steady_clock::now();
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (line.rfind("shown", 0) != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("the program did not come up: " + line).c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_StartToShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
