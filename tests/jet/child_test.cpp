// The child process that runs a conversion: its events reach the caller, and a crash, a hang, a
// stop or garbage on the pipe ends it without harm to the caller.
#include "jet/child.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using jet::detail::ChildEnd;
using jet::detail::ChildLimits;
using jet::detail::Event;
using jet::detail::runInChild;
using jet::detail::writeEvent;

ChildLimits silence(int seconds) { return {seconds, 0, {}}; }

std::vector<Event> heard;
bool keep(const Event& event) {
  heard.push_back(event);
  return true;
}

TEST(Child, EventsArriveInOrderAndWhole) {
  heard.clear();
  const ChildEnd end = runInChild(
      [](int fd) {
        writeEvent(fd, {Event::Kind::Total, 3, 0, {}});
        writeEvent(fd, {Event::Kind::Table, 3, 1, std::string(200000, 'x')});
        writeEvent(fd, {Event::Kind::Refused, 0, 4, "why"});
        std::fputs("noise from the library\n", stderr);
      },
      keep, silence(10));
  EXPECT_EQ(end.how, ChildEnd::How::Exited);
  EXPECT_EQ(end.code, 0);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0].kind, Event::Kind::Total);
  EXPECT_EQ(heard[0].first, 3);
  EXPECT_EQ(heard[1].text.size(), 200000u);
  EXPECT_EQ(heard[1].second, 1);
  EXPECT_EQ(heard[2].text, "why");
  EXPECT_EQ(end.diagnostics, "noise from the library\n");
}

TEST(Child, ACrashIsASignal) {
  const ChildEnd end = runInChild([](int) { ::raise(SIGSEGV); }, keep, silence(10));
  EXPECT_EQ(end.how, ChildEnd::How::Signalled);
  EXPECT_EQ(end.code, SIGSEGV);
}

// Even where the caller has set its own handling of a crash signal.
TEST(Child, ACrashEndsItWhateverTheCallerHandles) {
  const auto previous = ::signal(SIGSEGV, SIG_IGN);
  const ChildEnd end = runInChild([](int) { ::raise(SIGSEGV); }, keep, silence(10));
  ::signal(SIGSEGV, previous);
  EXPECT_EQ(end.how, ChildEnd::How::Signalled);
  EXPECT_EQ(end.code, SIGSEGV);
}

TEST(Child, AnExceptionIsExitStatusOne) {
  const ChildEnd end = runInChild([](int) { throw 1; }, keep, silence(10));
  EXPECT_EQ(end.how, ChildEnd::How::Exited);
  EXPECT_EQ(end.code, 1);
}

TEST(Child, SilenceEndsIt) {
  const ChildEnd end = runInChild([](int) { ::pause(); }, keep, silence(1));
  EXPECT_EQ(end.how, ChildEnd::How::Silent);
}

// A reader that loops writes warnings without end; only events are progress.
TEST(Child, OutputWithoutEventsIsSilence) {
  int idle = 0;
  const ChildEnd end = runInChild(
      [](int) {
        for (;;) std::fputs("Warning: the same warning again\n", stderr);
      },
      keep, {1, 0, [&] { ++idle; }});
  EXPECT_EQ(end.how, ChildEnd::How::Silent);
  EXPECT_NE(end.diagnostics.find("the same warning again"), std::string::npos);
  EXPECT_GE(idle, 5);  // the caller's window had its turns while it waited
}

TEST(Child, MemoryPastTheLimitFails) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "under the address sanitizer the reader has no memory limit";
#endif
  const ChildEnd end = runInChild(
      [](int fd) {
        std::vector<std::unique_ptr<char[]>> taken;
        for (int i = 0; i < 64; ++i) taken.push_back(std::make_unique<char[]>(16 << 20));
        writeEvent(fd, {Event::Kind::Done, 0, 0, {}});
      },
      keep, {10, 256 << 20, {}});
  EXPECT_EQ(end.how, ChildEnd::How::Exited);
  EXPECT_EQ(end.code, 1);  // std::bad_alloc
}

TEST(Child, TheCallerStopsIt) {
  const ChildEnd end = runInChild(
      [](int fd) {
        writeEvent(fd, {Event::Kind::Progress, 1, 2, {}});
        ::pause();
      },
      [](const Event&) { return false; }, silence(60));
  EXPECT_EQ(end.how, ChildEnd::How::Stopped);
}

TEST(Child, GarbageOnThePipeEndsIt) {
  const ChildEnd end = runInChild(
      [](int fd) {
        const char junk[] = "\x7f junk that is no event at all";
        (void)!::write(fd, junk, sizeof junk);
        ::pause();
      },
      keep, silence(60));
  EXPECT_EQ(end.how, ChildEnd::How::Garbled);
}

}  // namespace
