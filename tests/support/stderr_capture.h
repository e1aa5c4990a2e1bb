#pragma once
#include <iostream>
#include <sstream>
#include <string>

namespace zep::test {

// Collects what the code under test writes to std::cerr while it lives.
class StderrCapture {
public:
    StderrCapture() : previous_(std::cerr.rdbuf(captured_.rdbuf())) {}
    ~StderrCapture() { std::cerr.rdbuf(previous_); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    std::streambuf* previous_;
};

}  // namespace zep::test
