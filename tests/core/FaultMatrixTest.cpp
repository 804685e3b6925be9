// The fault matrix: every sequence of the main window on every module page built so far,
// against every kind of line fault the simulated unit can inject, in-process on virtual
// time. For each case: the sequence ends within its time bound (the time-outs the fault
// can cost, never more), says what happened at most once, reports a failure exactly when
// the fault was not absorbed by the retries, and the unit works again after reconnecting.
//
// A new sequence is one row of kSequences; a new fault is one row of kFaults; a new page
// is found by itself among kModels.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FaultMatrix.h"
#include "SessionTestRig.h"

namespace {

// One model per page kind; kinds whose page is not built yet are skipped.
const char* const kModels[] = {
    "Q5T3NML3-6-AI4",   "Q5T3NML3-6-TC4",    "Q5T3NML3-6-RT4",  "Q5T3NML3-6-OV2",
    "Q5T3NML3-6-OC2",   "Q5W3NEIP-BI16",     "Q5W3NEIP-BO16",   "Q5T3NML3-6-AIF2",
    "Q5W3NEIP-BI32",    "Q5W3NEIP-BO32",     "Q5T3NML3-6-OCF4", "Q5T3NML3-6-PI1",
    "Q5T3NML3-6-OVF4",  "Q5T3NML3-6-SG2",    "Q5T3NML3-6-LNRIO1", "Q5W3NML3-E-EC4A",
    "Q5V3UM-AC32",      "Q5T3NML-6-AIF8N",   "Q5Z3UECT-1-BIO32C", "Q5Z3UECT-1-PI8A",
    "Q5W3NEIP-BIO16B",  "Q5V3PM-BI32"};

// What the sequence ran into.
struct Result {
  std::int64_t elapsedUs = 0;
  int timeOuts = 0;
};

struct Sequence {
  const char* name;
  bool fromDisconnected;  // starts with the port closed (Connect), else connected
  std::function<void(SessionRig&)> run;
  int actions = 1;  // clicks of the person in it (each may end with its message)
};

void Monitor(SessionRig& rig) {
  const int first = rig.view.passes;
  rig.view.onProcessEvents = [&rig, first] {
    if (rig.view.passes - first > 3) rig.session.btnStop_Click();  // three passes
  };
  rig.session.btnStart_Click();
  rig.view.onProcessEvents = {};
}

const Sequence kSequences[] = {
    {"identify", true, [](SessionRig& r) { r.session.btnConnect_Click(); }},
    {"upload", false, [](SessionRig& r) { r.session.btnUpload_Click(); }},
    {"download", false, [](SessionRig& r) { r.session.btnDownload_Click(); }},
    {"monitor", false, Monitor},
    // "Q5 Informain": one read; an unanswered one shows nothing but the failure.
    {"node information", false, [](SessionRig& r) { r.session.mnuQ5Informain_Click(); }},
};

// Brings the rig to the state the sequence starts from.
void Prepare(SessionRig& rig, const Sequence& seq) {
  if (seq.fromDisconnected && rig.session.values.Connected) rig.session.btnDisconnect_Click();
  if (!seq.fromDisconnected && !rig.session.values.Connected) rig.connect();
  rig.dialogs.clear();
}

void RunCase(const char* model, const Sequence& seq, const Fault& fault) {
  SCOPED_TRACE(std::string(model) + " / " + seq.name + " / " + fault.name);
  SessionRig rig(model);
  rig.connect();
  ASSERT_TRUE(rig.session.values.Connected);
  // The time of the sequence without a fault.
  Prepare(rig, seq);
  const std::int64_t c0 = rig.clock.nowUs();
  seq.run(rig);
  const std::int64_t cleanUs = rig.clock.nowUs() - c0;
  for (const auto& m : rig.dialogs.messages) ASSERT_NE(m.icon, q5::ui::Icon::Error) << m;
  ASSERT_EQ(rig.session.failure(), "");
  Prepare(rig, seq);

  int timeOuts = 0;
  rig.exchange.setTraceObserver([&](q5::link::TraceEvent e, std::string_view, std::int64_t) {
    if (e == q5::link::TraceEvent::TimedOut) ++timeOuts;
  });
  for (const auto& f : fault.faults) rig.port->fault(f);
  const std::int64_t t0 = rig.clock.nowUs();
  seq.run(rig);
  const std::int64_t elapsed = rig.clock.nowUs() - t0;

  EXPECT_FALSE(rig.session.sequenceRunning());
  EXPECT_FALSE(rig.session.values.Monitoring);
  EXPECT_LE(timeOuts, fault.maxTimeOuts);
  // The time bound: at most four attempts of every transaction of the clean run, and
  // the time-outs the fault may cost.
  // (A late reply keeps the line busy for its lateness: a second's slack.)
  EXPECT_LE(elapsed, 4 * cleanUs + fault.maxTimeOuts * kTimeOutUs + 1'000'000) << cleanUs;
  std::vector<std::string> errors;
  for (const auto& m : rig.dialogs.messages)
    if (m.icon == q5::ui::Icon::Error) errors.push_back(m.text);
  // Each action a person took says what went wrong at most once.
  EXPECT_LE(errors.size(), static_cast<std::size_t>(seq.actions))
      << errors[0] << " | " << errors[errors.size() - 1];
  const bool reported = !errors.empty() || !rig.session.failure().empty();
  // A fault placed past the last line of a short sequence never strikes: nothing changes.
  bool struck = false;
  for (const auto& f : rig.port->line().faults()) struck = struck || f.fired > 0;
  const Outcome outcome = struck ? fault.outcome : Outcome::Absorbed;
  if (outcome == Outcome::Absorbed) {
    EXPECT_FALSE(reported) << (errors.empty() ? rig.session.failure() : errors[0]);
  } else if (outcome == Outcome::Fails) {
    EXPECT_TRUE(reported);
  }

  // Fixed and reconnected: the unit works as before.
  rig.port->line().clearFaults();
  rig.port->line().restore();
  rig.exchange.setTraceObserver({});
  rig.session.btnDisconnect_Click();
  rig.dialogs.clear();
  rig.session.btnConnect_Click();
  EXPECT_TRUE(rig.session.values.Connected);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.session.failure(), "");
}

// Models whose page is built.
std::vector<const char*> BuiltPages() {
  std::vector<const char*> out;
  for (const char* model : kModels) {
    SessionRig probe(model);
    probe.connect();
    if (probe.session.values.Connected && probe.session.page()) out.push_back(model);
  }
  return out;
}

void RunSequence(const Sequence& seq) {
  static const std::vector<const char*> models = BuiltPages();
  ASSERT_GE(models.size(), 2u);
  for (const char* model : models)
    for (const Fault& fault : kFaults) RunCase(model, seq, fault);
}

}  // namespace

TEST(FaultMatrix, Identify) { RunSequence(kSequences[0]); }
TEST(FaultMatrix, Upload) { RunSequence(kSequences[1]); }
TEST(FaultMatrix, Download) { RunSequence(kSequences[2]); }
TEST(FaultMatrix, Monitor) { RunSequence(kSequences[3]); }
TEST(FaultMatrix, NodeInformation) { RunSequence(kSequences[4]); }
