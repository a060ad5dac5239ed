# cmake -DIN=<utf-8 text> -DOUT=<file> -P windows_text.cmake: the text with CR LF line ends and a
# UTF-8 byte-order mark, for Notepad.
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${OUT} "${bom}${text}")
