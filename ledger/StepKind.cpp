#include "ledger/StepKind.h"

namespace orvo {

std::string stepName(StepKind kind) {
    switch (kind) {
        case StepKind::CellEdit: return "セルの編集";
        case StepKind::TitlePick: return "勘定科目の選択";
        case StepKind::Phrase: return "定型句";
        case StepKind::Calculator: return "電卓";
        case StepKind::Move: return "移動";
        case StepKind::Paste: return "貼り付け";
        case StepKind::Erase: return "消去";
        case StepKind::InsertRows: return "行挿入";
        case StepKind::DeleteRows: return "行削除";
        case StepKind::AppendRow: return "最終行の追加";
        case StepKind::InsertColumns: return "列挿入";
        case StepKind::DeleteColumns: return "列削除";
        case StepKind::AppendColumn: return "最終列の追加";
        case StepKind::Sort: return "並べ替え";
        case StepKind::ColumnSettings: return "環境設定";
        case StepKind::DayChange: return "日付の変更";
        case StepKind::WriteBack: return "再計算";
        case StepKind::ShowDay: return "表示";
        case StepKind::TitleRename: return "勘定科目名の変更";
        case StepKind::StatementImport: return "明細の取り込み";
        case StepKind::CsvImport: return "CSV読み込み";
        case StepKind::BulkReplace: return "一括置換";
        case StepKind::AddRecords: return "記録の追加";
        case StepKind::RewriteRecords: return "記録の書き換え";
        case StepKind::RemoveRecords: return "記録の削除";
    }
    return {};
}

bool onlyShows(StepKind kind) {
    return kind == StepKind::DayChange || kind == StepKind::WriteBack || kind == StepKind::ShowDay;
}

}  // namespace orvo
