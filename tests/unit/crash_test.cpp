// The office PC loses power, or the program is killed, while cover is being recorded: a child
// process records covers (and now and then starts a new day) in a loop and is killed at random
// points. After every kill the file opens, passes its check, and the tallies agree with the
// records.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>

#include "basedata/demo_school.h"
#include "engine/assignment.h"
#include "school/resets.h"
#include "store/store.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::TempDir;

// Writes one byte to `ready` once the file is open, then records until killed.
[[noreturn]] void recordCoverUntilKilled(const std::filesystem::path& dir, unsigned seed,
                                         int ready) {
    try {
        auto s = Store::open(dir);
        const char byte = 1;
        if (::write(ready, &byte, 1) != 1) ::_exit(4);
        std::vector<std::string> teachers;
        for (auto& row : s->select("SELECT 姓名 FROM 教师姓名")) teachers.push_back(row[0].text());
        std::mt19937 rng(seed);
        auto pick = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
        };
        for (int round = 0;; ++round) {
            if (round % 25 == 24) newDay(*s);
            const std::string weekday = std::to_string(1 + pick(5));
            const std::string& absent = teachers[pick(teachers.size())];
            for (const auto& lesson : assignment::loadDay(*s, absent, weekday)) {
                if (lesson.dealtWith) continue;
                std::string substitute = teachers[pick(teachers.size())];
                if (substitute == absent) continue;
                assignment::recordCover(*s,
                                        {absent, "病假", substitute, "5", weekday, lesson.cls,
                                         lesson.subject, lesson.period},
                                        false);
            }
        }
    } catch (...) {
        ::_exit(3);
    }
}

long long number(Store& s, const std::string& sql) {
    return s.select(sql)[0][0].toInt();
}

TEST(Crash, KilledWhileRecordingCoverTheFileOpensAndTalliesAgreeWithRecords) {
    TempDir dir;
    {
        auto s = Store::open(dir.path());
        demo::fillSchool(*s, demo::demoPlan());
    }
    constexpr int kKills = 20;
    std::mt19937 rng(4711);
    const auto began = std::chrono::steady_clock::now();
    int killedWhileRunning = 0;
    for (int k = 0; k < kKills; ++k) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            recordCoverUntilKilled(dir.path(), static_cast<unsigned>(k), ready[1]);
        }
        ::close(ready[1]);
        // Most kills land while cover is recorded, however slow the machine is; every fourth
        // lands at any point, the opening (and its recovery of the last kill's log) included.
        if (k % 4 != 3) {
            pollfd p{ready[0], POLLIN, 0};
            ::poll(&p, 1, 20000);
        }
        ::close(ready[0]);
        const int waitMs = std::uniform_int_distribution<int>(20, 300)(rng);
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        killedWhileRunning += WIFSIGNALED(status) ? 1 : 0;
        ASSERT_FALSE(WIFEXITED(status))
            << "the recording child stopped by itself, status " << WEXITSTATUS(status);

        std::unique_ptr<Store> s;
        ASSERT_NO_THROW(s = Store::open(dir.path())) << "after kill " << k + 1;
        SCOPED_TRACE("after kill " + std::to_string(k + 1));
        EXPECT_EQ(number(*s,
                         "SELECT count(*) FROM 代课节数 n WHERE 当日代课 <> (SELECT count(*) "
                         "FROM 当天代课记录 r WHERE r.代者 = n.姓名)"),
                  0);
        EXPECT_EQ(number(*s,
                         "SELECT count(*) FROM 代课节数 n WHERE 学期代课 <> (SELECT count(*) "
                         "FROM 代课记录 r WHERE r.代者 = n.姓名)"),
                  0);
        EXPECT_EQ(number(*s,
                         "SELECT count(*) FROM 当天代课记录 r WHERE NOT EXISTS (SELECT 1 FROM "
                         "任课情况 l WHERE l.姓名 = r.被代 AND l.星期 = r.星期 AND l.班级 = "
                         "r.班级 AND l.节次 = r.节次 AND l.标记 = 1 AND l.已代标记 = 1)"),
                  0);
        EXPECT_EQ(number(*s, "SELECT count(*) FROM 任课情况 WHERE 已代标记 = 1"),
                  number(*s, "SELECT count(*) FROM 当天代课记录"));
        EXPECT_TRUE(s->notices().empty()) << s->notices().front();
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    auto s = Store::open(dir.path());
    const auto covers = number(*s, "SELECT count(*) FROM 代课记录");
    std::cout << "[ crash    ] " << killedWhileRunning << " kills, " << covers
              << " covers recorded in all, " << seconds << " s\n";
    EXPECT_EQ(killedWhileRunning, kKills);
    EXPECT_GT(covers, 0);
}

}  // namespace
}  // namespace daike
