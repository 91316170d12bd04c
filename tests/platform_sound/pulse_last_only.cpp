// A library with only the last function the player calls from libpulse.
extern "C" void pa_threaded_mainloop_wait() {}
