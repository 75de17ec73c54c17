#include "patterneditor/undo/undo_labels.h"

#include "engine/engine_actions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

TesselUndoLabel formatLabel(const char* format, ...) __attribute__((format(printf, 1, 2)));

TesselUndoLabel formatLabel(const char* format, ...)
{
    TesselUndoLabel label{};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(label.data(), label.size(), format, arguments);   // cut at 53 characters
    va_end(arguments);
    return label;
}

// The text from character i on; empty when the text is shorter.
const char* from(const char* text, size_t i)
{
    return std::strlen(text) >= i ? text + i : "";
}

bool beginsWith(const char* text, const char* word)
{
    return std::strncmp(text, word, std::strlen(word)) == 0;
}

} // namespace

TesselClockTime systemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return {};
    return {local.tm_hour, local.tm_min};
}

TesselUndoLabel makeUndoLabel(const char* text)
{
    return formatLabel("%s", text);
}

TesselUndoLabel checkpointLabel(int patternIndex, const char* message, TesselClockTime time)
{
    if (!message)
        return formatLabel("%.3d: Misc. Editing (%.2d:%.2d)", patternIndex, time.hour, time.minute);
    if (std::strcmp(message, "User Checkpoint") == 0)
        return formatLabel("%.3d: User Checkpoint (%.2d:%.2d)", patternIndex, time.hour, time.minute);
    return formatLabel("%.3d: %s", patternIndex, message);
}

TesselRestoredLabel restoredLabel(int patternIndex, const char* restored)
{
    // After the number, the colon and the blank: the edit, or the word Undo
    // or Redo and its blank.
    const char* edit = from(restored, 5);
    if (beginsWith(edit, "Undo"))
        return {formatLabel("%.3d: Redo %s", patternIndex, from(restored, 10)), kActRedo};
    if (beginsWith(edit, "Redo"))
        return {formatLabel("%.3d: Undo %s", patternIndex, from(restored, 10)), kActUndoRedo};
    return {formatLabel("%.3d: Undo '%s'", patternIndex, edit), kActUndo};
}
