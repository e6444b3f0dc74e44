#include "platform/headless/headless_toolkit.h"

#include "platform/error.h"
#include "platform/headless/utf8.h"

std::unique_ptr<Form> HeadlessToolkit::LoadForm(const FormSpec& spec, FormEvents& events) {
    static WindowHandle nextHandle = 0x10000;
    nextHandle += 0x100;
    Record(spec.name, "Load");
    return std::make_unique<HeadlessForm>(*this, spec, events, nextHandle);
}

std::int32_t HeadlessToolkit::ShowMsgBox(const Text& prompt, std::int32_t style, const Text& title) {
    boxes.push_back({prompt, style, title.empty() ? Text(kProjectTitle) : title});
    Record("MsgBox", ToUtf8(boxes.back().title));
    return responder ? responder(boxes.back()) : 1;
}

double HeadlessToolkit::Shell(const Text& commandLine, std::int32_t windowStyle) {
    shells.push_back({commandLine, windowStyle});
    Record("Shell", ToUtf8(commandLine));
    if (shellError != 0) throw RuntimeError(shellError);
    return 4242;
}

void HeadlessToolkit::End() {
    ended = true;
    Record("App", "End");
    throw ProgramEnded{};
}

void HeadlessToolkit::DeliverPosted() {
    while (!posted_.empty()) {
        HeadlessForm* form = posted_.front();
        posted_.erase(posted_.begin());
        form->RunActivate();
    }
}

std::vector<std::string> HeadlessToolkit::TraceSince(std::size_t mark) const {
    return {trace.begin() + std::ptrdiff_t(mark), trace.end()};
}

void HeadlessToolkit::Record(const std::string& target, const std::string& operation) {
    trace.push_back(target + "." + operation);
}
