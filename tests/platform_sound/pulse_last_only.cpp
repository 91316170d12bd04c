extern "C" void pa_threaded_mainloop_wait() {}
