// The default data.xml as the program must write it, byte for byte.
#pragma once

#include <string>

namespace zelvo::test {

// The default data.xml, byte for byte (GBK: 真 D5E6, 黑体 BADA CCE5, 宋体 CBCE CCE5).
inline const std::string kDefaultFile =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
    "<ZVL_LY>\r\n"
    "\t<Tab>\xD5\xE6</Tab>\r\n"
    "\t<Shift>\xD5\xE6</Shift>\r\n"
    "\t<UI_Color>4016474</UI_Color>\r\n"
    "\t<UI_Touming>100</UI_Touming>\r\n"
    "\t<Color>\r\n"
    "\t\t<Color1>255</Color1>\r\n"
    "\t\t<Color2>0</Color2>\r\n"
    "\t\t<Color3/>\r\n\t\t<Color4/>\r\n\t\t<Color5/>\r\n\t\t<Color6/>\r\n"
    "\t</Color>\r\n"
    "\t<Font>\r\n"
    "\t\t<Font1>\xBA\xDA\xCC\xE5</Font1>\r\n"
    "\t\t<Font2>\xCB\xCE\xCC\xE5</Font2>\r\n"
    "\t\t<Font3/>\r\n\t\t<Font4/>\r\n\t\t<Font5/>\r\n"
    "\t</Font>\r\n"
    "</ZVL_LY>";

}  // namespace zelvo::test
