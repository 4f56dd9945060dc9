#include "app/tips.h"

namespace zelvo {

Tips defaultTips() {
  // Trailing spaces belong to the texts.
  return {
      "小技巧： Ctrl+鼠标滚轮可以快速缩放文字显示大小（不改变实际字号）",
      "小技巧： 您有什么建议和BUG反馈，可以直接通过软件反馈建议窗口发送给我们。",
      "Zelvo微信平台帐号:zelvo_luyin 请关注,我们分享一些录音整理的小技巧给大家。",
      "Zelvo专业打字团队还提供收费人工整理录音服务，详情点击【服务介绍】按钮。",
      "小技巧：amr格式暂时不支持，但是可以到 Zelvo官网下载 amr转mp3工具转换。",
      "小技巧： 常用快捷键  字号: (增) Alt+↑ (减) Alt+↓ ",
      "小技巧： 常用快捷键  插入时间标记(当前秒)：Ctrl+M    ",
      "小技巧： 常用快捷键  插入日期时间：Ctrl+T   插入分割线：Ctrl+L   ",
      "小技巧： 常用快捷键  粗体:Ctrl+B  斜体:Ctrl+I  下划线:Ctrl+U ",
      "小技巧： 常用快捷键  剪切:Ctrl+X  复制:Ctrl+C  粘贴:Ctrl+V",
      "小技巧： 常用快捷键  打开文档:Ctrl+O  新建文档:Ctrl+N ",
      "小技巧： 常用快捷键  保存文档:Ctrl+S  另存文档:Ctrl+Shift+S ",
      "小技巧： 常用快捷键  变速（增）:Alt+→ ， 变速（减）: Alt+←",
      "小技巧： 常用快捷键  播放/暂停: F4键 或者 TAB键   打开音频：Alt+O",
      "小技巧： 常用快捷键  快退5秒：F5键 或 左Shift， 快进5秒：F6键 或 右Shift",
      "小技巧： 常用字体快捷键  Alt+Q,W,E,R,T  共可设置五种常用字体",
      "小技巧： 常用字体快捷键  Alt+1,2,3,4,5,6  共可设置六种常用字体颜色",
  };
}

}  // namespace zelvo
