// A pipe whose writer pauses longer than any bound a reader might set still
// gives the whole result: the wait for a slow writer has no time limit.
#include "EnsembleBuilder.h"
#include "RunningProgram.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace ensemble_builder;

TEST(StreamPause, APauseOfSixSecondsInAPipeIsWaitedFor)
{
    TempDir dir;
    TempDir home;
    std::vector<Bytes> ensembles;
    std::string expected;
    for (std::uint32_t number = 1; number <= 200; ++number) {
        ensembles.push_back(TypicalEnsemble(number));
        expected += std::to_string(number) + "\r\n";
    }
    const Bytes recording = Concat(ensembles);
    const std::string bytes(recording.begin(), recording.end());
    WriteFileText(dir.File("number.dec"), "0080,3,2\r\n$L\r\n");
    ProgramStreams streams;
    streams.pipedInput = true;
    RunningProgram dralin(QSV_BINARY_DIR "/convert/dralin",
                          {"-in:/dev/stdin", "-dec:" + dir.File("number.dec"), "-out:" + dir.File("o.txt")},
                          home.Path(), streams);
    ASSERT_TRUE(dralin.WriteInput(bytes.substr(0, bytes.size() / 2)));
    ASSERT_TRUE(dralin.WaitUntilInputTaken());
    // The pause itself is what is tested, not a way to wait for something.
    std::this_thread::sleep_for(std::chrono::seconds(6));
    ASSERT_TRUE(dralin.WriteInput(bytes.substr(bytes.size() / 2)));
    dralin.CloseInput();
    const ProgramResult run = dralin.Finish();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(ReadFileText(dir.File("o.txt")), expected);
}
