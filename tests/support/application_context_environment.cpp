// Test programs of the model set its application context once, as the program does: the whole
// module catalogue, no dialogs, the default message presenter, no devices and default options.
// Tests that need a service of their own install it over this one for their duration.
#include <gtest/gtest.h>

#include <memory>

#include "modules/catalogue.h"
#include "patch/application_context.h"

namespace {

class TApplicationContextEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SApplicationContext context;
    context.moduleTypes = ModuleCatalogue();
    scope_ = std::make_unique<TApplicationScope>(context);
  }
  void TearDown() override { scope_.reset(); }

 private:
  std::unique_ptr<TApplicationScope> scope_;
};

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new TApplicationContextEnvironment);

}  // namespace
