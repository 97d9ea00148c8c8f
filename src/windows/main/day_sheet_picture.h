// 当日代课安排表 as a picture for the teachers' chat group: the same sheet as the printed one
// (title, the day, the table of covers with the waiting lessons in red, the absent teachers and
// those away in free periods), laid out for a phone screen — 1080 pixels wide, as tall as the
// day needs, no text smaller than 32 pixels — on white, and saved as a PNG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <chrono>
#include <optional>

#include "engine/day_board.h"

class QPainter;
class QWidget;

namespace daike {

struct RunContext;

namespace picture {

inline constexpr int kWidth = 1080;
// The smallest text of the picture, in pixels: readable on a phone without zooming in.
inline constexpr int kTextPixels = 32;

}  // namespace picture

// How a lesson's period is written on the board, the picture and the staff-room screen.
QString periodOnBoard(const board::Board& b, int period);

// The height the sheet takes at the picture's width, in pixels.
int daySheetHeight(const board::Board& b, const QString& dateText);
// Draws the sheet from (0, 0) on a device 1080 units wide and daySheetHeight() high, white
// background included. The PNG and any check of it draw through this one function.
void paintDaySheet(QPainter& p, const board::Board& b, const QString& dateText);

QImage daySheetImage(const board::Board& b, const QString& dateText);
QByteArray daySheetPng(const board::Board& b, const QString& dateText);

// "当日代课安排表-20261209.png": the board's day, else the clock's.
QString daySheetPictureName(RunContext& ctx, const board::Board& b);

// 保存为图片…: today's sheet as a PNG where the operator chooses, whole or not at all; a
// failure is told in a message box.
void saveDaySheetPicture(RunContext& ctx);

}  // namespace daike
