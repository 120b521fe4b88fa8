// The error report and the console of the own host (MATLAB's libmex): an
// error ends the call in progress, and what a call prints is kept for its
// caller.
#include "host/src/host_state.h"

#include <cstdarg>
#include <cstdio>
#include <string>

extern "C" {

void mexErrMsgTxt(const char *text) { mexhost::endCall("", text ? text : ""); }

void mexErrMsgIdAndTxt(const char *id, const char *fmt, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    mexhost::endCall(id ? id : "", buffer);
}

int mexPrintf(const char *fmt, ...) {
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (length > 0) {
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), fmt, args);
        text.resize(static_cast<std::size_t>(length));
        if (mexhost::CallContext *call = mexhost::currentCall()) {
            call->console += text;
        } else {
            std::fputs(text.c_str(), stdout);
        }
    }
    va_end(args);
    return length;
}

}  // extern "C"
