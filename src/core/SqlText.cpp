#include "core/SqlText.h"

#include <QRegularExpression>

namespace papyrant {

QString sqlLiteralBody(const QString& text)
{
    QString body = text;
    body.replace(QLatin1Char('\''), QLatin1String("''"));
    return body;
}

QString sqlLiteral(const QString& text)
{
    return QLatin1Char('\'') + sqlLiteralBody(text) + QLatin1Char('\'');
}

QString columnAsText(const QString& column)
{
    return QStringLiteral("CAST(") + column + QStringLiteral(" AS TEXT)");
}

QString translateStatement(const QString& sql)
{
    static const QRegularExpression qualifiedDelete(
        QStringLiteral(R"(^\s*delete\s+[A-Za-z_][A-Za-z0-9_]*\.\*\s+from\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = qualifiedDelete.match(sql);
    if (!match.hasMatch())
        return sql;
    return QStringLiteral("DELETE FROM") + sql.mid(match.capturedEnd());
}

QString withoutLiterals(const QString& sql)
{
    QString plain = sql;
    bool inside = false;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == QLatin1Char('\'')) {
            inside = !inside;
        } else if (inside) {
            plain[i] = QLatin1Char(' ');
        }
    }
    return plain;
}

} // namespace papyrant
