#include "common/run_time_error.h"

#include <cerrno>

namespace zarame {

QString FileSystemCause(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return QStringLiteral("ファイルまたはフォルダが見つかりません");
        case EACCES:
        case EPERM:
            return QStringLiteral("アクセスが拒否されました");
        case EEXIST:
            return QStringLiteral("同じ名前のファイルまたはフォルダが既に存在します");
        case ENOSPC:
            return QStringLiteral("ディスクの空き容量が不足しています");
        case EDQUOT:
            return QStringLiteral("ディスク使用量の上限を超えました");
        case ENAMETOOLONG:
            return QStringLiteral("名前またはパスが長すぎます");
        case EISDIR:
            return QStringLiteral("同じ名前のフォルダがあるためファイルを作成できません");
        case ENOTDIR:
            return QStringLiteral("パスの途中にフォルダではないものがあります");
        case EROFS:
            return QStringLiteral("読み取り専用のファイルシステムには書き込めません");
        case EINVAL:
        case EILSEQ:
            return QStringLiteral("名前が正しくありません");
        case EIO:
            return QStringLiteral("入出力エラーが発生しました");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開いているファイルが多すぎます");
        case ELOOP:
            return QStringLiteral("シンボリックリンクをたどれません");
        case EBUSY:
        case ETXTBSY:
        case EWOULDBLOCK:
            return QStringLiteral("ファイルが使用中です");
        case EFBIG:
            return QStringLiteral("ファイルが大きすぎます");
        case EMLINK:
            return QStringLiteral("フォルダ内の項目数が上限に達しました");
        default:
            return QStringLiteral("ファイル操作に失敗しました (エラー番号 %1)").arg(errorNumber);
    }
}

RunTimeError OverflowError() {
    return RunTimeError(kOverflowErrorNumber, QStringLiteral("オーバーフローしました"));
}

RunTimeError FileSystemError(int errorNumber, const QString& path) {
    return RunTimeError(errorNumber, FileSystemCause(errorNumber) + QStringLiteral(": ") + path);
}

}  // namespace zarame
