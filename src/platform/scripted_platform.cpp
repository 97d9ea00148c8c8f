#include "platform/scripted_platform.h"

namespace daike {

using namespace std::chrono;

ScriptedPlatform::ScriptedPlatform() : clock(sys_days(year(2024) / March / day(20))) {}

QString ScriptedMessageBoxes::take(Kind kind, const QString& text, const QString& first,
                                   const QString& second) {
    QString answer = first;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
        if (answer != first && answer != second) {
            mismatches_.push_back("“" + text + "”没有按钮“" + answer + "”");
            answer = first;
        }
    }
    shown_.push_back({kind, text, answer});
    return answer;
}

void ScriptedMessageBoxes::ok(const QString& text) {
    take(Kind::Ok, text, QStringLiteral("确定"), QStringLiteral("确定"));
}

bool ScriptedMessageBoxes::yesNo(const QString& text) {
    return take(Kind::YesNo, text, QStringLiteral("是"), QStringLiteral("否")) ==
           QStringLiteral("是");
}

bool ScriptedMessageBoxes::okCancel(const QString& text) {
    return take(Kind::OkCancel, text, QStringLiteral("确定"), QStringLiteral("取消")) ==
           QStringLiteral("确定");
}

}  // namespace daike
