// A key script's events and calendar. A close request is not a quit at once:
// like a window's close, it queues the quit behind the events already waiting.
#include "host/script_events.h"

#include "system/frame_clock.h"
#include "system/input.h"

void EventQueue::post(const ScriptEvent& event)
{
    switch (event.action) {
    case ScriptAction::Down: waiting.push_back({Kind::Down, event.key}); break;
    case ScriptAction::Up: waiting.push_back({Kind::Up, event.key}); break;
    case ScriptAction::Close: waiting.push_back({Kind::Close, 0}); break;
    case ScriptAction::Focus: waiting.push_back({Kind::Focus, 0}); break;
    case ScriptAction::Time: break;
    }
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
    case Kind::Focus:
        // As a host does when its window loses the focus: every held key goes up.
        for (int key = 0; key < 256; ++key)
            if (keys[key])
                applyInputEvent({InputEventType::KeyUp, key});
        break;
    }
}

int64_t readScriptCalendar(ScriptCalendar* calendar, uint64_t pass)
{
    const std::vector<ScriptEvent>* script = calendar->script;
    while (script && calendar->next < script->size() &&
           ((*script)[calendar->next].pass < pass ||
            (*script)[calendar->next].action != ScriptAction::Time))
        ++calendar->next;
    if (script && calendar->next < script->size() && (*script)[calendar->next].pass == pass)
        return (*script)[calendar->next++].seconds;
    return calendar->start + static_cast<int64_t>(pass / (1000 / gameFrameMs));
}
