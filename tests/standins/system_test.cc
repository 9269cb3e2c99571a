// The stand-ins' system parameters, error texts and fault injection.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "halconcpp/HStandin.h"
#include "halconcpp/HalconCpp.h"

namespace {

using HalconCpp::GetErrorText;
using HalconCpp::GetSystem;
using HalconCpp::HException;
using HalconCpp::Hlong;
using HalconCpp::HTuple;
using HalconCpp::SetSystem;

struct Cleanup {
  ~Cleanup() { SetSystem("standin_fail", HTuple()); }
};

HTuple fault(const char* operation, Hlong errorCode, Hlong count = 1) {
  HTuple value(operation);
  value.Append(HTuple(errorCode));
  value.Append(HTuple(count));
  return value;
}

std::string textOf(Hlong errorCode) {
  HTuple text;
  GetErrorText(HTuple(errorCode), &text);
  return text[0].S().str();
}

TEST(StandinSystem, SizeParametersStartAt512AndRoundTrip) {
  HTuple width;
  GetSystem("width", &width);
  EXPECT_EQ(width, HTuple(512));
  SetSystem("height", HTuple(700));
  HTuple height;
  GetSystem("height", &height);
  EXPECT_EQ(height, HTuple(700));
  SetSystem("height", HTuple(512));
}

TEST(StandinSystem, UnknownOrMalformedQueriesRaiseVendorNumbers) {
  HTuple value;
  try {
    GetSystem("no_such_parameter", &value);
    FAIL() << "expected an exception";
  } catch (const HException& e) {
    EXPECT_EQ(e.ErrorCode(), 1301);
    EXPECT_STREQ(e.ProcName().Text(), "get_system");
    EXPECT_STREQ(e.ErrorMessage().Text(),
                 "HALCON error #1301: Wrong value of control parameter 1 in operator get_system");
  }
  HTuple twoNames("width");
  twoNames.Append(HTuple("height"));
  EXPECT_THROW(GetSystem(twoNames, &value), HException);
  EXPECT_THROW(SetSystem("width", HTuple("wide")), HException);
  EXPECT_THROW(SetSystem("width", HTuple(0)), HException);
}

TEST(StandinSystem, ErrorTextsOfTheParameterChecks) {
  EXPECT_EQ(textOf(1201), "Wrong type of control parameter 1");
  EXPECT_EQ(textOf(1205), "Wrong type of control parameter 5");
  EXPECT_EQ(textOf(1303), "Wrong value of control parameter 3");
  EXPECT_EQ(textOf(1404), "Wrong number of values of control parameter 4");
  EXPECT_THROW(textOf(123456), HException);
}

TEST(StandinFaults, ArmedFaultFiresForItsOperationOnly) {
  Cleanup cleanup;
  SetSystem("standin_fail", fault("GetErrorText", 5555));
  HTuple width;
  GetSystem("width", &width);
  try {
    textOf(1201);
    FAIL() << "expected the injected fault";
  } catch (const HException& e) {
    EXPECT_EQ(e.ErrorCode(), 5555);
    EXPECT_STREQ(e.ProcName().Text(), "GetErrorText");
  }
  EXPECT_EQ(textOf(1201), "Wrong type of control parameter 1") << "the fault was used up";
}

TEST(StandinFaults, CountAndClear) {
  Cleanup cleanup;
  SetSystem("standin_fail", fault("GetSystem", 7, 2));
  HTuple pending;
  HTuple value;
  EXPECT_THROW(GetSystem("width", &value), HException);
  SetSystem("standin_fail", HTuple());
  EXPECT_NO_THROW(GetSystem("width", &value));
}

TEST(StandinFaults, PendingFaultsAreReadable) {
  Cleanup cleanup;
  SetSystem("standin_fail", fault("DispObj", 42, 3));
  HTuple pending;
  GetSystem("standin_fail", &pending);
  HTuple expected("DispObj");
  expected.Append(HTuple(42));
  expected.Append(HTuple(3));
  EXPECT_EQ(pending, expected);
}

TEST(StandinFaults, MalformedFaultIsRefused) {
  Cleanup cleanup;
  EXPECT_THROW(SetSystem("standin_fail", HTuple("HTuple")), HException);
  EXPECT_THROW(SetSystem("standin_fail", fault("HTuple", 1, 0)), HException);
}

TEST(StandinFaults, InternalWorkNeitherFiresNorConsumes) {
  Cleanup cleanup;
  SetSystem("standin_fail", fault("HTuple", 77));
  {
    HalconCpp::Standin::InsideScope inside;
    EXPECT_NO_THROW(HTuple(1));
  }
  EXPECT_THROW(HTuple(1), HException);
}

TEST(StandinSystem, StoreIsSafeAcrossThreads) {
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      const std::string name = "thread_parameter_" + std::to_string(t);
      for (int i = 0; i < 200; ++i) {
        SetSystem(name.c_str(), HTuple(i));
        HTuple value;
        GetSystem(name.c_str(), &value);
        if (value[0].L() != i) ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
