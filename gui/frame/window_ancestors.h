#pragma once
// Walks up a window's parents; the editor finds the host's top-level and
// framed windows with these.

namespace platform {
class Window;
}

// The top-most ancestor; the window itself when it has no parent.
platform::Window* findRootWindow(platform::Window* window);
// The nearest ancestor with a frame of its own (a top-level window); none
// when there is none.
platform::Window* findFramedAncestor(platform::Window* window);
