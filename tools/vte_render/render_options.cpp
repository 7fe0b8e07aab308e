#include "vte_render/render_options.h"

#include <QEasingCurve>
#include <QMetaProperty>
#include <QRegularExpression>
#include <memory>

#include "engine/easing.h"
#include "engine/property_store.h"
#include "engine/transition_effect.h"
#include "engine/transition_registry.h"

namespace vte {

namespace {

int Number(const QString& Option, const QString& Text, int Least) {
  bool Ok = false;
  const int Value = Text.toInt(&Ok);
  if (!Ok || Value < Least)
    throw EUsageError(QStringLiteral("%1 needs a whole number of at least %2, not '%3'").arg(Option).arg(Least).arg(Text).toStdString());
  return Value;
}

QString ValueText(const QMetaProperty& P, const QVariant& V) {
  if (P.isEnumType()) return QString::fromLatin1(P.enumerator().valueToKey(V.toInt()));
  if (V.canConvert<QObject*>() && V.value<QObject*>()) return QStringLiteral("(settings of its own)");
  if (V.metaType().id() == QMetaType::QEasingCurve) return EasingTypeName(V.value<QEasingCurve>().type());
  return V.toString();
}

}  // namespace

TRenderOptions ParseRenderOptions(const QStringList& Arguments) {
  TRenderOptions O;
  QStringList Pictures;
  for (int I = 0; I < Arguments.size(); ++I) {
    const QString& A = Arguments[I];
    auto Value = [&]() -> QString {
      if (I + 1 >= Arguments.size()) throw EUsageError(QStringLiteral("%1 needs a value").arg(A).toStdString());
      return Arguments[++I];
    };
    if (A == QLatin1String("--help") || A == QLatin1String("-h")) {
      O.Help = true;
    } else if (A == QLatin1String("--class")) {
      O.ClassName = Value();
    } else if (A == QLatin1String("--list")) {
      O.ListFile = Value();
    } else if (A == QLatin1String("--entry")) {
      O.ListIndex = Number(A, Value(), 0);
    } else if (A == QLatin1String("--size")) {
      const QString S = Value();
      const QRegularExpressionMatch M = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(S);
      if (!M.hasMatch() || M.captured(1).toInt() < 1 || M.captured(2).toInt() < 1)
        throw EUsageError(QStringLiteral("--size needs WIDTHxHEIGHT, not '%1'").arg(S).toStdString());
      O.Width = M.captured(1).toInt();
      O.Height = M.captured(2).toInt();
    } else if (A == QLatin1String("--fps")) {
      O.Fps = Number(A, Value(), 1);
    } else if (A == QLatin1String("--seed")) {
      O.Seed = static_cast<quint32>(Number(A, Value(), 0));
    } else if (A == QLatin1String("--output") || A == QLatin1String("-o")) {
      O.OutputPattern = Value();
    } else if (A == QLatin1String("--raw")) {
      O.Output = TOutputKind::Raw;
    } else if (A == QLatin1String("--y4m")) {
      O.Output = TOutputKind::Y4m;
    } else if (A.startsWith(QLatin1Char('-'))) {
      throw EUsageError(QStringLiteral("unknown option '%1' (see --help)").arg(A).toStdString());
    } else if (A.contains(QLatin1Char('='))) {
      O.Settings << A;
    } else {
      Pictures << A;
    }
  }
  if (O.Help) return O;
  if (O.ClassName.isEmpty() && O.ListFile.isEmpty())
    throw EUsageError("name a transition with --class NAME or --list FILE (see --help)");
  if (Pictures.size() != 2) throw EUsageError("give two pictures: the old look and the new look");
  O.OldPicture = Pictures[0];
  O.NewPicture = Pictures[1];
  if (O.Output == TOutputKind::Png && O.OutputPattern.isEmpty())
    throw EUsageError("PNG frames need --output PATTERN (for example frames/f%05d.png), or use --raw or --y4m");
  if (O.Output == TOutputKind::Png && !O.OutputPattern.contains(QLatin1String("%05d")))
    O.OutputPattern += QStringLiteral("%05d.png");
  return O;
}

QString RenderHelpText() {
  QString T = QStringLiteral(
      "Usage: vte-render (--class NAME | --list FILE [--entry N]) [Name=Value ...] OLD NEW\n"
      "                  [--size WxH] [--fps N] [--seed N] (--output PATTERN | --raw | --y4m)\n"
      "Renders a transition from picture OLD to picture NEW, one frame per 1/fps second of its\n"
      "Milliseconds (every frame it has when Milliseconds is 0); the same command gives the same bytes.\n"
      "  --class NAME       a registered transition class; Name=Value sets its properties\n"
      "  --list FILE        a stored transition list; --entry N takes its entry N (from 0)\n"
      "  --size WxH         frame size (default: OLD's size); pictures of another size are scaled\n"
      "  --fps N            frames per second (default 60)\n"
      "  --output PATTERN   numbered PNG files, %05d standing for the frame number\n"
      "  --raw              raw BGRA frames on standard output\n"
      "  --y4m              YUV4MPEG2 (4:4:4, full range) on standard output\n"
      "\nTransitions and their properties (default values):\n");
  for (const QMetaObject* Class : TransitionClasses()) {
    std::unique_ptr<QObject> Sample(Class->newInstance(Q_ARG(QObject*, nullptr)));
    T += QStringLiteral("  %1\n").arg(QString::fromLatin1(Class->className()).section(QLatin1String("::"), -1));
    for (const QMetaProperty& P : StoredProperties(*Class)) {
      if (qstrcmp(P.name(), "Version") == 0) continue;  // the same for all, and fixed
      QString Line = QStringLiteral("    %1 = %2").arg(QString::fromLatin1(P.name()),
                                                     Sample ? ValueText(P, P.read(Sample.get())) : QString());
      if (P.isEnumType()) {
        QStringList Names;
        for (int K = 0; K < P.enumerator().keyCount(); ++K) Names << QString::fromLatin1(P.enumerator().key(K));
        Line += QStringLiteral("  (%1)").arg(Names.join(QLatin1String(", ")));
      }
      T += Line + QLatin1Char('\n');
    }
  }
  return T;
}

}  // namespace vte
