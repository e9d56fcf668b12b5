// Reading the desktop's clipboard text. The X11 implementation lives in
// downloader/x11/ (above the core layer); the core sees only this interface,
// and the program's main hands OpenClipboardReader to the clipboard watch.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

class CClipboardReader {
public:
    virtual ~CClipboardReader() = default;
    // The clipboard's text as UTF-8 ("" when nothing is on it); nothing when
    // its owner did not answer in time or the display has gone.
    virtual std::optional<std::string> ReadText(std::chrono::milliseconds timeout) = 0;
    // False once the connection to the display is lost for good.
    virtual bool Usable() const = 0;
};

// A reader on the display named by DISPLAY; null without one (defined in
// downloader/x11/, which only the program links).
std::unique_ptr<CClipboardReader> OpenClipboardReader();
