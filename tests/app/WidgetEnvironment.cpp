// Gives every desktop test a QApplication; the test command sets
// QT_QPA_PLATFORM=offscreen (the smoke test starts its own X server instead).
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class WidgetEnvironment final : public testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "app_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WidgetEnvironment);

}  // namespace
