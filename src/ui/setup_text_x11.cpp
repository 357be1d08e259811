#include "ui/setup_text.h"

const char* const kPickScreenSaverText = "下の「セットアップ開始」ボタンを押した後、「説明」の";
const char* const kPickScreenSaverText2 = "「スクリーンセーバーとして使う」をご覧下さい。";
