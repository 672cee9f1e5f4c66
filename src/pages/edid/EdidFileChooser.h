#pragma once
// The file of the third "Manual Mode" row: opened, checked and kept for the download, its path
// shown, its bytes put in the send log and its summary below the list.
#include "operations/EdidFileBuffer.h"

#include <string>

namespace zentrel {

class EdidPage;

namespace edid {

class EdidFileChooser {
public:
    explicit EdidFileChooser(EdidPage& page) : page_(page) {}

    // The Open button: the file dialog, then the file's check.
    void openFile();
    // Takes the file at `path` if it is an EDID (what the file dialog's answer leads to).
    void takeFile(const std::string& path);

    const EdidFileBuffer& buffer() const { return buffer_; }

private:
    EdidPage& page_;
    EdidFileBuffer buffer_;
};

} // namespace edid
} // namespace zentrel
