#pragma once
// Whether the process can reach a desktop display: X11 or Wayland named in the environment.
// Decides between a window and a headless run, and whether a link can be shown in a browser.
struct CCDisplay {
    static bool isPresent();
};
