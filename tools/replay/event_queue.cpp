// The replay's event queue. A close request is not a quit at once: like a
// window's close, it queues the quit behind the events already waiting.
#include "event_queue.h"

#include "system/input.h"

void EventQueue::post(const ScriptEvent& event)
{
    waiting.push_back({event.action == ScriptAction::Down ? Kind::Down
                       : event.action == ScriptAction::Up ? Kind::Up
                                                          : Kind::Close,
                       event.key});
}

void EventQueue::postScriptEvents(uint64_t pass)
{
    if (!script)
        return;
    for (; next < script->size() && (*script)[next].pass == pass; ++next)
        post((*script)[next]);
    // Events of passes already run (the script is sorted) are dropped.
    while (next < script->size() && (*script)[next].pass < pass)
        ++next;
}

void EventQueue::applyOne()
{
    if (waiting.empty())
        return;
    const Queued e = waiting.front();
    waiting.pop_front();
    switch (e.kind) {
    case Kind::Down: applyInputEvent({InputEventType::KeyDown, e.key}); break;
    case Kind::Up: applyInputEvent({InputEventType::KeyUp, e.key}); break;
    case Kind::Close: waiting.push_back({Kind::Quit, 0}); break;
    case Kind::Quit: applyInputEvent({InputEventType::Quit, 0}); break;
    }
}
