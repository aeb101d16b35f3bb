#pragma once

#include "app/kelpra_app.h"
#include "support/scripted_prompts.h"

#include <memory>

namespace kelpra::test {

// The whole program as the tests drive it: the store, its windows created in start-up
// order, and prompts answered from a queue.
struct AppFixture {
    ScriptedPrompts prompts;
    std::unique_ptr<KelpraApplication> app;

    AppFixture() : app(std::make_unique<KelpraApplication>(prompts)) {}

    MeasurementStore &store() { return app->store; }
    TForm1 &form1() { return app->Form1; }
    TExCom &excom() { return app->ExCom; }
};

} // namespace kelpra::test
