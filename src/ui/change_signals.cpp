#include "ui/change_signals.h"

#include "ui/run_context.h"

namespace daike {

ChangeSignals::ChangeSignals(ChangeNotifier& changes, QObject* owner)
    : QObject(owner), changes_(changes) {
    token_ = changes_.listen([this](Change what) {
        switch (what) {
            case Change::Cover:
                emit coverChanged();
                break;
            case Change::Absences:
                emit absencesChanged();
                break;
            case Change::Calendar:
                emit calendarChanged();
                break;
            case Change::BaseData:
                emit baseDataChanged();
                break;
        }
        emit dayChanged();
    });
}

ChangeSignals::~ChangeSignals() {
    changes_.forget(token_);
}

ChangeSignals* listen(RunContext& ctx, QObject* window) {
    return new ChangeSignals(ctx.changes, window);
}

}  // namespace daike
