#pragma once
// The application object of a program without windows (Qt Core only), behind a header free of
// Qt, so a command-line front end can run the Qt event loop without including Qt itself.
#include <memory>

class QCoreApplication;

namespace zentrel {

class QtCoreProgram {
public:
    // Qt is given no arguments: the program's own parser reads them all.
    QtCoreProgram();
    ~QtCoreProgram();
    QtCoreProgram(const QtCoreProgram&) = delete;
    QtCoreProgram& operator=(const QtCoreProgram&) = delete;

private:
    int argc_ = 1;
    char name_[8] = "zentrel";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

} // namespace zentrel
