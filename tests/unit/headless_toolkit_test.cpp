#include <gtest/gtest.h>

#include <type_traits>

#include "platform/error.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/headless/utf8.h"

namespace {

static_assert(!std::is_base_of<std::exception, ProgramEnded>::value, "no error handler may catch the end");

const ControlSpec kControls[] = {
    {"fra", ControlKind::Frame, u"枠", {0, 0, 3000, 600}, 2, -1, kDefaultColor, kDefaultFont, false},
    {"opt(0)", ControlKind::OptionButton, u"一", {60, 200, 900, 255}, 0, 0, kDefaultColor, kDefaultFont, true},
    {"opt(1)", ControlKind::OptionButton, u"二", {1000, 200, 900, 255}, 1, 0, kDefaultColor, kDefaultFont, false},
    {"cmd", ControlKind::CommandButton, u"押す", {0, 700, 900, 375}, 3, -1, kDefaultColor, kDefaultFont, false},
};
const TimerSpec kTimers[] = {{"tmr", 250}};
const FormSpec kSpec{"frmTest", u"テスト", BorderStyle::FixedDialog, false, false, false, 3000, 1200, kControls, 4,
                     kTimers,   1};

// Records the events it gets; refuses to close while `refuse` is set.
struct Recorder : FormEvents {
    void Activate() override { seen.emplace_back("Activate"); }
    void Resize() override { seen.emplace_back("Resize"); }
    void Unload(std::int16_t& cancel) override {
        seen.emplace_back("Unload");
        if (refuse) cancel = -1;
    }
    void Click(std::size_t control) override { seen.push_back("Click " + std::to_string(control)); }
    void MouseUp(std::size_t control, std::int16_t button) override {
        seen.push_back("MouseUp " + std::to_string(control) + " " + std::to_string(button));
    }
    void Tick(std::size_t timer) override {
        seen.push_back("Tick " + std::to_string(timer));
        if (fail) throw RuntimeError(err::Overflow);
    }
    std::vector<std::string> seen;
    bool refuse = false, fail = false;
};

TEST(HeadlessToolkit, MessageBoxesAreRecordedAndAnsweredByTheResponder) {
    HeadlessToolkit toolkit;
    EXPECT_EQ(toolkit.MsgBox(u"本文", mb::Critical, u""), 1);  // no responder: OK
    toolkit.responder = [](const MsgBoxCall& box) { return box.style == mb::YesNoQuestionDefaultNo ? mb::IdNo : 1; };
    EXPECT_EQ(toolkit.MsgBox(u"続けますか", mb::YesNoQuestionDefaultNo, u"確認"), mb::IdNo);
    ASSERT_EQ(toolkit.boxes.size(), 2u);
    EXPECT_EQ(toolkit.boxes[0].title, u"PelloryV2_0");
    EXPECT_EQ(toolkit.boxes[0].style, 16);
    EXPECT_EQ(toolkit.boxes[1].prompt, u"続けますか");
    EXPECT_EQ(toolkit.boxes[1].title, u"確認");
    EXPECT_EQ(toolkit.trace, (std::vector<std::string>{"MsgBox.PelloryV2_0", u8"MsgBox.確認"}));

    // While a box is open a tick is dropped, whatever the box; the timer runs
    // on, and the next tick after the box is delivered.
    Recorder events;
    auto form = toolkit.LoadForm(kSpec, events);
    auto& window = static_cast<HeadlessForm&>(*form);
    form->timer(0).SetEnabled(true);
    for (std::int32_t style : {mb::OkOnly, mb::Critical, mb::Exclamation, mb::YesNoQuestionDefaultNo}) {
        toolkit.responder = [&](const MsgBoxCall&) {
            EXPECT_FALSE(window.Tick(0));
            EXPECT_TRUE(form->timer(0).Enabled());
            return 1;
        };
        toolkit.MsgBox(u"本文", style, u"");
    }
    EXPECT_TRUE(events.seen.empty());
    EXPECT_TRUE(window.Tick(0));
    EXPECT_EQ(events.seen, std::vector<std::string>{"Tick 0"});

    // End is seen by no error handler.
    bool caught = false;
    try {
        try {
            toolkit.End();
        } catch (const std::exception&) {
            caught = true;
        }
    } catch (const ProgramEnded&) {}
    EXPECT_FALSE(caught);
    EXPECT_TRUE(toolkit.ended);
}

TEST(HeadlessToolkit, UserActionsReachOnlyUsableControlsAndRunningTimers) {
    HeadlessToolkit toolkit;
    Recorder events;
    auto form = toolkit.LoadForm(kSpec, events);
    auto& window = static_cast<HeadlessForm&>(*form);
    EXPECT_EQ(form->Width(), 3000 + HeadlessForm::kFixedFrameWidth);

    form->SetWidth(5000);  // not shown yet: no Resize
    EXPECT_FALSE(window.Tick(0));
    form->timer(0).SetEnabled(true);
    EXPECT_EQ(form->timer(0).Interval(), 250);
    EXPECT_TRUE(window.Tick(0));
    EXPECT_TRUE(window.Click(2));
    EXPECT_TRUE(form->control(2).Value());
    EXPECT_FALSE(form->control(1).Value());
    form->control(0).SetEnabled(false);  // the frame: its options take no click
    EXPECT_FALSE(window.Click(1));
    EXPECT_TRUE(window.MouseUp(3, 2));
    // Show makes the form the active one: Activate runs once, after the
    // handler that showed it. The system activating it then (back from
    // another program) runs no second one.
    form->Show(false);
    form->SetHeight(4000);
    EXPECT_EQ(events.seen.back(), "Resize");
    toolkit.DeliverPosted();
    window.Activate();
    toolkit.DeliverPosted();
    EXPECT_EQ(events.seen, (std::vector<std::string>{"Tick 0", "Click 2", "MouseUp 3 2", "Resize", "Activate"}));
    // Another form of ours shown meanwhile, activating this one runs it again.
    Recorder otherEvents;
    auto other = toolkit.LoadForm(kSpec, otherEvents);
    other->Show(false);
    toolkit.DeliverPosted();
    window.Activate();
    EXPECT_EQ(otherEvents.seen, std::vector<std::string>{"Activate"});
    EXPECT_EQ(events.seen.back(), "Activate");
    EXPECT_EQ(events.seen.size(), 6u);

    // A refused close keeps the form; an accepted one unloads it.
    events.refuse = true;
    window.Close();
    EXPECT_TRUE(window.Loaded());
    events.refuse = false;
    window.Close();
    EXPECT_FALSE(window.Loaded());
    EXPECT_FALSE(window.Click(3));
    EXPECT_FALSE(window.Tick(0));
}

TEST(HeadlessToolkit, ModalShowRunsTheHookAndAnEscapingErrorEndsTheProgram) {
    HeadlessToolkit toolkit;
    Recorder events;
    auto form = toolkit.LoadForm(kSpec, events);
    form->timer(0).SetEnabled(true);
    toolkit.modalHook = [](HeadlessForm& shown) {
        shown.Click(3);
        EXPECT_TRUE(shown.Tick(0));  // a modal form holds no tick
        shown.Unload();
    };
    form->Show(true);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"Activate", "Click 3", "Tick 0", "Unload"}));
    EXPECT_EQ(toolkit.TraceSince(1),
              (std::vector<std::string>{"tmr.Enabled=True", "frmTest.Show(modal)", "frmTest.Unload"}));

    auto again = toolkit.LoadForm(kSpec, events);
    again->timer(0).SetEnabled(true);
    events.fail = true;
    EXPECT_THROW(static_cast<HeadlessForm&>(*again).Tick(0), ProgramEnded);
    ASSERT_EQ(toolkit.boxes.size(), 1u);
    EXPECT_EQ(ToUtf8(toolkit.boxes[0].prompt), u8"6:オーバーフローしました。");
    EXPECT_EQ(toolkit.boxes[0].style, mb::Critical);
}

}  // namespace
