#pragma once
// What an operation needs of whoever runs it, a page or zentrel-ctl: the window its timers and
// replies belong to, the link its frames go out on, and the shared state. Nothing of a page's
// controls or pop-ups: an operation tells its own listener what happened (progress, a line, its
// result), and the host decides how to show it. So each conversation with the matrix is written
// once, and the panel and the tool run the same frames, waits, repeats and give-ups.
//
// The host hands the operation every reply (LinkedFrame) and every timer expiry of its window;
// the operation answers whether it was its own. Timer ids stay the pages' own.
namespace zentrel {

class PageLink;
class Window;
struct SharedState;

struct OperationHost {
    Window& window;
    PageLink& link;
    SharedState& state;
};

} // namespace zentrel
