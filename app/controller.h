// The watch controller: the main window's handlers that decide. It owns the
// window, starts a watch, polls the download status every 5000 ms, ends the
// watch with a logged, delayed shutdown, and handles cancel and close; at
// start-up it allows one instance and checks how the previous run ended.
// Whether a watch runs is the state of tmrPellory and of cmdCancel, not a
// variable of its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "log/log_event.h"
#include "ui/frmPellory.h"

// Set to -1 at the start of the window's first activation and never reset,
// so the previous-run check and the automatic start happen once.
extern std::int16_t bActivated;

class frmPelloryController : public frmPelloryEvents {
public:
    // Start-up.
    void Form_Load();
    void Form_Activate();
    // The watch.
    void cmdStart_Click();
    void tmrPellory_Timer();
    void cmdCancel_Click();
    void Form_Unload(std::int16_t& cancel);

    // The window's events, each to its handler.
    void Activate() override;
    void Unload(std::int16_t& cancel) override;
    // Form_Unload asks while a watch runs.
    bool UnloadAsks() override;
    void Click(std::size_t control) override;
    void Tick(std::size_t timer) override;

private:
    // Shutdown caption, 5 s wait, end line, shutdown, program end.
    void End_Watch(LogEvent event);

    std::unique_ptr<frmPellory> window_;
};
