// The About window: the product's title, description, version and maker
// line, a home-page link and a mail link, and OK to close it. Created, it is
// loaded and filled (Form_Load); cmdAbout_Click shows it modally.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include "platform/toolkit.h"

constexpr const char16_t* kHomePageURL = u"https://pellory.example/";
constexpr const char16_t* kMailAddress = u"support@pellory.example";

class FrmVer : public FormEvents {
public:
    // Control indices, in tab order.
    enum ControlIndex : std::size_t { kLabel1, kCmdOk, kLabel2, kLabel3, kLblURL, kLblMail, kLabel5, kControlCount };

    // Loads the window, hidden, through gPlatform.toolkit, and runs Form_Load.
    FrmVer();

    Form& form() { return *form_; }
    Control& CmdOk() { return form_->control(kCmdOk); }
    Control& lblURL() { return form_->control(kLblURL); }
    Control& lblMail() { return form_->control(kLblMail); }

    void Form_Load();
    void Form_Activate();
    void CmdOk_Click();
    // Button: 1 left, 2 right, 4 middle.
    void lblURL_MouseUp(std::int16_t Button);
    void lblMail_MouseUp(std::int16_t Button);

private:
    void Activate() override { Form_Activate(); }
    void Click(std::size_t control) override;
    void MouseUp(std::size_t control, std::int16_t button) override;

    void Open_HomePage();
    void Open_MailTo();

    std::unique_ptr<Form> form_;
};

// The layout of the window, for the toolkit and the tests.
extern const FormSpec kFrmVerLayout;
