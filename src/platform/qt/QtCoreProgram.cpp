#include "QtCoreProgram.h"

#include <QCoreApplication>

namespace zentrel {

QtCoreProgram::QtCoreProgram() : app_(std::make_unique<QCoreApplication>(argc_, argv_)) {}

QtCoreProgram::~QtCoreProgram() = default;

} // namespace zentrel
