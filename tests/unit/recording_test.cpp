// Recordings: what the recorder writes reads back the same; what is refused;
// the cap; the calendar and the focus loss as a script plays them.
#include "host/recording.h"
#include "host/script_events.h"
#include "system/input.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Recording, ReadsBackWhatWasRecorded)
{
    Recording r;
    startRecording(&r, 1234567890, 25000);
    recordCalendarRead(&r, 0, 1234567890);
    recordKey(&r, 31, true, VK_SPACE);
    recordKey(&r, 40, false, VK_SPACE);
    recordFocusLoss(&r, 41);
    recordCalendarRead(&r, 900, 1234567899);
    recordClose(&r, 950);

    RecordingHeader          header = {};
    std::vector<ScriptEvent> events;
    std::string              why;
    ASSERT_TRUE(checkRecording(recordingText(r), &header, &events, &why)) << why;
    EXPECT_EQ(header.game, gameBehaviourVersion);
    EXPECT_EQ(header.time, 1234567890);
    EXPECT_EQ(header.highScore, 25000);
    const std::vector<std::pair<uint64_t, ScriptAction>> want = {
        {0, ScriptAction::Time},   {31, ScriptAction::Down},  {40, ScriptAction::Up},
        {41, ScriptAction::Focus}, {900, ScriptAction::Time}, {950, ScriptAction::Close}};
    ASSERT_EQ(events.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(events[i].pass, want[i].first) << i;
        EXPECT_EQ(events[i].action, want[i].second) << i;
    }
    EXPECT_EQ(events[1].key, VK_SPACE);
    EXPECT_EQ(events[4].seconds, 1234567899);
}

TEST(Recording, RefusesForeignOrDamagedText)
{
    const std::string ours = "# swarm-recording 1 version 1.0.0 game " +
                             std::to_string(gameBehaviourVersion) + " time 5 highscore 10000\n";
    const struct {
        std::string text;
        const char* why; // a part of the message
    } cases[] = {
        {"# swarm-recording 1 version 0.9 game 999 time 5 highscore 1\n", "game behaviour 999"},
        {"# swarm-recording 2 version 9 game 1 time 5 highscore 1\n", "format"},
        {"12 down 32\n", "header"},
        {"# swarm-recording 1 version 1.0.0 game 1 time 5\n", "highscore"},
        {ours + "12 down 32\n10 up 32\n", "line 3"},
        {ours + "12 jump\n", "line 2"},
        {ours + std::string(maxRecordingBytes, '#'), "1 MiB"},
    };
    for (const auto& c : cases) {
        RecordingHeader          header = {};
        std::vector<ScriptEvent> events;
        std::string              why;
        EXPECT_FALSE(checkRecording(c.text, &header, &events, &why)) << c.why;
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
    std::string              why;
    RecordingHeader          header = {};
    std::vector<ScriptEvent> events;
    checkRecording(cases[0].text, &header, &events, &why);
    EXPECT_NE(why.find("Swarm! 0.9"), std::string::npos) << "names both versions: " << why;
    EXPECT_NE(why.find("game behaviour " + std::to_string(gameBehaviourVersion)), std::string::npos)
        << why;
}

TEST(Recording, StopsGrowingAtTheCapAndStaysReadable)
{
    Recording r;
    startRecording(&r, 0, 10000);
    for (uint64_t pass = 0; pass < 200000; ++pass)
        recordKey(&r, pass, pass % 2 == 0, VK_LEFT);
    EXPECT_TRUE(r.full);
    const std::string text = recordingText(r);
    EXPECT_LE(text.size(), maxRecordingBytes);
    RecordingHeader          header = {};
    std::vector<ScriptEvent> events;
    std::string              why;
    EXPECT_TRUE(checkRecording(text, &header, &events, &why)) << why;
}

TEST(ScriptEvents, FocusReleasesHeldKeysAndTimeLinesGiveTheCalendar)
{
    std::vector<ScriptEvent> script;
    std::string              error;
    ASSERT_TRUE(parseKeyScript("0 time 77\n1 down left\n2 down space\n3 focus\n"
                               "250 time 99\n250 time 100\n",
                               &script, &error))
        << error;
    std::memset(keys, 0, sizeof keys);
    EventQueue queue;
    queue.script = &script;
    for (uint64_t pass = 0; pass < 4; ++pass) {
        queue.postScriptEvents(pass);
        queue.applyOne();
        if (pass == 2) {
            EXPECT_TRUE(keys[VK_LEFT] && keys[VK_SPACE]);
        }
    }
    EXPECT_FALSE(keys[VK_LEFT] || keys[VK_SPACE]) << "the focus loss releases every held key";

    ScriptCalendar calendar{&script, 0, 1000};
    EXPECT_EQ(readScriptCalendar(&calendar, 0), 77);
    EXPECT_EQ(readScriptCalendar(&calendar, 120), 1001) << "no time line: start + pass / 100";
    EXPECT_EQ(readScriptCalendar(&calendar, 250), 99);
    EXPECT_EQ(readScriptCalendar(&calendar, 250), 100) << "one line per read";
}

} // namespace
