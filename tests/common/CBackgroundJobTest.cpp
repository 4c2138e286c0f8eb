#include "CBackgroundJob.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(CBackgroundJob, JobsRunInTurnOnOneOtherThreadAlsoAfterAStop)
{
    CBackgroundJob worker;
    worker.Wait(); // nothing started: returns at once
    EXPECT_FALSE(worker.Pending());
    std::vector<int> done;
    std::vector<std::thread::id> threads;
    for (int round = 0; round < 2; ++round) {
        for (int job = 0; job < 50; ++job) {
            worker.Start([&, job] {
                done.push_back(job);
                threads.push_back(std::this_thread::get_id());
            });
            EXPECT_TRUE(worker.Pending());
            worker.Wait();
            EXPECT_FALSE(worker.Pending());
            ASSERT_EQ(done.back(), job);
        }
        worker.Stop();
        worker.Stop(); // a second stop finds nothing to join
    }
    EXPECT_EQ(done.size(), 100u);
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_EQ(threads[0], threads[49]);
}

TEST(CBackgroundJob, DestructionWaitsForThePendingJob)
{
    bool ran = false;
    {
        CBackgroundJob worker;
        worker.Start([&] { ran = true; });
    }
    EXPECT_TRUE(ran);
}
