#pragma once

#include <string>

namespace krn310 {

// The program's run-time texts, by number, as UTF-8.
enum StringId : int {
    IDS_IP_ADDRESS_LABEL = 101,     // "IP-адрес:"
    IDS_TCP_PORT_LABEL = 102,       // "Порт:"
    IDS_SERIAL_PORT_LABEL = 103,    // "Порт:"
    IDS_BAUD_LABEL = 104,           // "Скорость:"
    IDS_GRID_MODEL = 105,
    IDS_GRID_MAKER = 106,
    IDS_GRID_FIRMWARE = 107,
    IDS_GRID_SERIAL_NUMBER = 108,
    IDS_GRID_SET1 = 109,
    IDS_GRID_SET2 = 110,
    IDS_GRID_CURRENT_STATE = 111,
    IDS_DRAWER = 112,
    IDS_CLOSED = 113,
    IDS_OPEN = 114,
    IDS_COVER = 115,
    IDS_PRINTER_STATE = 116,
    IDS_ERROR = 117,
    IDS_NORMAL = 118,
    IDS_NEAR_END_SENSOR = 119,
    IDS_NEAR_END = 120,
    IDS_PAPER_SENSOR = 121,
    IDS_PAPER_OUT = 122,
    IDS_NODE_CONNECTION = 123,      // tree node texts 123..130, in node order
    IDS_NODE_PRINTER1 = 124,
    IDS_NODE_PRINTER2 = 125,
    IDS_NODE_FONT = 126,
    IDS_NODE_POSITIONING = 127,
    IDS_NODE_BARCODE = 128,
    IDS_NODE_CONNECTION_PARAMS = 129,
    IDS_NODE_SERVICE_INFO = 130,
    IDS_FACTORY_VALUES = 131,       // "по-умолчанию"
    IDS_USER_VALUES = 132,          // "пользовательский"
    IDS_RANGE_0_255 = 133,
    IDS_RANGE_0_65535 = 134,
    IDS_RANGE_0_576 = 135,
    IDS_RANGE_1_255 = 136,
    IDS_RANGE_1_5 = 137,
    IDS_PRINTER_SILENT = 138,       // "Принтер не отвечает!!!!"
    IDS_CANNOT_CONNECT = 139,       // "Невозможно установить соединение!!!!"
    IDS_CONNECT = 140,              // "Установить соединение"
    IDS_DISCONNECT = 141,           // "Разорвать соединение"
};

inline constexpr int kFirstStringId = 101;
inline constexpr int kLastStringId = 141;

// The text of an entry; an empty text for a number outside the table.
const std::string& LoadStr(int id);

} // namespace krn310
