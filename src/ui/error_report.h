// The central report of errors: a command that fails is abandoned, its
// message is shown, and the program goes on. A runtime error ("File not
// found", "Range check error", ...) is shown in a box titled with the
// application title; input refused before anything was touched (no log file
// chosen, an id beyond the sector) is shown like the dialogs' own
// validation messages, titled "Error".
#pragma once

#include <exception>
#include <utility>

#include <QString>

#include "records/sector_tail.h"

class QWidget;

namespace orrimar::ui {

// The title the report of `error` carries.
QString errorTitle(const std::exception& error);

void reportRuntimeError(QWidget* parent, const std::exception& error);

// Shows why a sector was refused; when repair can mend it, asks whether to
// repair it now and does so, showing what was removed.
void offerRepair(QWidget* parent, const DamagedSectorError& error);

// Runs one command; a failure is reported and false returned.
template <class Command>
bool guarded(QWidget* parent, Command&& command) {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const std::exception& error) {
        reportRuntimeError(parent, error);
        return false;
    }
}

// Like guarded(), for commands that write into a sector (append, merge): a
// sector refused as torn at its end is offered to repair, cutting it back
// to its last whole system; the user then runs the command again.
template <class Command>
bool guardedOfferingRepair(QWidget* parent, Command&& command) {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const DamagedSectorError& error) {
        offerRepair(parent, error);
        return false;
    } catch (const std::exception& error) {
        reportRuntimeError(parent, error);
        return false;
    }
}

}  // namespace orrimar::ui
