#pragma once
// Fixed texts of the phone SMS window: the caption and the thirteen
// instruction lines, blanks exactly as the window shows them.

#include <array>

namespace sfigmo {

inline constexpr const char* kForm3Caption =
    "                                                                                  ПОСЫЛКА SMS "
    "ВРАЧУ ";

inline constexpr std::array<const char*, 13> kSmsInstructionLines = {
    "Вам предоставляется возможность послать SMS с результами измерений на телефон врача.",
    "Для этого Вам необходимо нажать кнопку \"SMS врачу.\"",
    "ВНИМАНИЕ. К вашему ПК через порт  USB должен быть подключен мобильный телефон.",
    "Вам также необходимо установить на ПК ПО вашего моб. телефона.",
    "Для вашего телефона его можно скачать по Интернету.",
    "После  подключения и настройки телефона определите номер  порта подключения.",
    "Замените имеющийся в файле telport.txt номер порта на ваш. ",
    "Этот файл находится в текущем каталоге вашей исполнямой программы",
    "В файле telport.txt также замените номер телефона врача. ",
    "Номер телефона врача можно заменить во время работы программы.",
    "При этом небходимо, чтобы в первыми символами в поле ввода телефона были +7.",
    "Далее без пробелов вводится КОД оператора связи  и семизначный номер телефона.",
    "ВНИМАНИЕ! Послать SMS можно только после вызова  сохраненного файла",
};

// Line 13 as it is drawn again on mouse movement: one blank before its last word.
inline constexpr const char* kSmsInstructionLine13Redrawn =
    "ВНИМАНИЕ! Послать SMS можно только после вызова сохраненного файла";

}  // namespace sfigmo
