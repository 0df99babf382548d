// A link of the command route: active view, its document, the child frame,
// the main frame, the application. The first target that knows a command
// handles it and decides whether it is enabled and checked.
#ifndef PARCHLY_VIEW_COMMAND_TARGET_H
#define PARCHLY_VIEW_COMMAND_TARGET_H

namespace parchly {

struct CommandState {
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Fills `state` and returns true when this target handles `id`.
    virtual bool updateCommand(int id, CommandState& state) = 0;

    // Runs `id` and returns true when this target handles it.
    virtual bool runCommand(int id) = 0;
};

} // namespace parchly

#endif
