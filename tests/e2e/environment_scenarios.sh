# End-to-end scenarios of what the program is started with and says on standard error.
# Sourced by run.sh after scenarios.sh.

SCENARIOS+=(unsaved_settings_are_said absurd_environments)

# A settings file made read-only is left as it was, and the close says so on standard
# error (which the start-up display check must have given back).
scenario_unsaved_settings_are_said() {
    write_settings NumberRandomRotate dword:00000009
    local reg="$SD/config/Tetrakon/registry.reg" before
    chmod 444 "$reg"
    before=$(cat "$reg")
    start_app -Embedding
    wait_main
    close_app
    [ "$(cat "$reg")" = "$before" ] && [ "$(stat -c %a "$reg")" = 444 ] ||
        fail "the read-only settings file was replaced"
    grep -q "^tetrakon: .*$reg" "$SD/app.log" || fail "nothing said of the unsaved settings"
}

# QT_SCALE_FACTOR=0 still gives a window (at scale 1, said on standard error); the main
# thread's allocations failing after the window appeared (a test library fails the next one
# on SIGUSR2) end the program with exit status 1 and one line, never with an abort.
scenario_absurd_environments() {
    QT_SCALE_FACTOR=0 start_app -Embedding
    wait_main
    grep -q "QT_SCALE_FACTOR=0" "$SD/app.log" || fail "the unusable scale factor was not said"
    close_app

    "${CXX:-c++}" -shared -fPIC -o "$SD/fail-next-new.so" -x c++ - <<'END'
#include <signal.h>
#include <unistd.h>
#include <cstdlib>
#include <new>
static volatile sig_atomic_t failNext = 0;
__attribute__((constructor)) static void Install() { signal(SIGUSR2, [](int) { failNext = 1; }); }
void* operator new(std::size_t size) {
    if (failNext && gettid() == getpid()) {
        failNext = 0;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
END
    LD_PRELOAD="$SD/fail-next-new.so" start_app -Embedding
    wait_main
    wait_pyramid
    local tries=20 box=""
    while kill -0 "$APP_PID" 2>/dev/null && [ -z "$box" ] && [ $tries -gt 0 ]; do
        kill -USR2 "$APP_PID"
        xdotool mousemove --window "$W" 20 20 mousemove --window "$W" 40 40 2>/dev/null || true
        sleep 0.5 # the failure needs an allocation on the main thread: events make them
        box=$(xdotool search --onlyvisible --name '^Tetrakon1\.0$' 2>/dev/null | head -1) || true
        tries=$((tries - 1))
    done
    if [ -n "$box" ]; then
        dismiss_fatal_box_and_wait_exit
    else
        wait_exit 10
        EXIT_STATUS=0
        wait "$APP_PID" || EXIT_STATUS=$?
    fi
    note "out of memory: exit status $EXIT_STATUS, $([ -n "$box" ] || echo "no ")box shown"
    [ "$EXIT_STATUS" -eq 1 ] || fail "out of memory, the program ended with $EXIT_STATUS"
    grep -q "^tetrakon: не хватает памяти" "$SD/app.log" || fail "running out of memory was not said"
}
