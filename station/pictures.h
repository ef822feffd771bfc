#pragma once

#include <QPixmap>

// The station's small pictures, drawn rather than shipped so they scale with the screen.
QPixmap readerPresentPicture();
QPixmap readerAbsentPicture();
QPixmap logoPicture();
QPixmap readButtonPicture();
