// Starts a program and prints the milliseconds from its start until its first top-level window
// is mapped on the X display, then ends it.
//
//   build/bench/mapped_after PROGRAM [ARGUMENT...]
//
// Listens for the map on the root window (no window manager: the program's window is a child of
// the root), so the time is taken when the X server maps the window, with no polling.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double milliseconds = -1;
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    bool ended = false;
    while (milliseconds < 0 && !(ended = waitpid(child, nullptr, WNOHANG) != 0)) {
        if (poll(&watch, 1, 100) < 0)
            break;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect &&
                milliseconds < 0)
                milliseconds = std::chrono::duration<double, std::milli>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
            free(event);
        }
    }
    if (!ended) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    xcb_disconnect(connection);
    if (milliseconds < 0) {
        std::fprintf(stderr, "%s ended without mapping a window\n", argv[1]);
        return 1;
    }
    std::printf("%.1f\n", milliseconds);
    return 0;
}
