#pragma once
// The stored form of an object's published settings: its Q_PROPERTYs to and from a JSON object.
// Stored lists keep their transitions this way; anything else with published settings (option
// objects, forms) uses the same functions, so every stored file reads alike:
//
//   {"Direction": "tedDown", "Milliseconds": 500, "BackColor": 1193046,
//    "Pass2Options": {"DistributedTime": true}}
//
// - Which properties: those declared below Base (by default QObject, whose objectName is the
//   caller's business; a widget class passes QWidget so that Qt's widget properties, which are
//   set up in code, stay out), that are stored and writable; a name published again by a
//   subclass counts once.
// - Values: booleans, integers (colours among them: TColor is an integer) and floating point as
//   JSON numbers and booleans, strings as strings, enumerations by the name of their value
//   (flags as "a|b"), an easing curve by the name of its type ("OutCubic", see engine/easing.h),
//   a property holding a QObject as a nested object of that object's settings.
//   Any other type cannot be stored.
// - Only what differs from a default object of the same class is written, so files stay short
//   and pick up a changed default.
#include <QJsonObject>
#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <vector>

namespace vte {

// The stored properties of Class, in declaration order.
std::vector<QMetaProperty> StoredProperties(const QMetaObject& Class,
                                            const QMetaObject& Base = QObject::staticMetaObject);

// The stored properties of Object whose values differ from those of Default (an object of the
// same class as created); every stored property when Default is null. Nested objects compare
// with Default's. std::runtime_error, naming the object and the key, for a value that cannot be
// stored (a type the form has no place for, an enumeration value without a name).
QJsonObject PropertiesToJson(const QObject& Object, const QObject* Default,
                             const QMetaObject& Base = QObject::staticMetaObject);
// The same against a new object of Object's class, made by its Q_INVOKABLE constructor taking the
// owner (or none); a class without one has every stored property written.
QJsonObject PropertiesToJson(const QObject& Object, const QMetaObject& Base = QObject::staticMetaObject);

// Sets the properties Values names on Object (nested objects into the objects the properties
// hold). All or nothing: every key is checked before the first is set, and should a setter still
// refuse or throw, the values set before it are put back. Errors are std::runtime_error reading
// "<Origin>: <Subject>, key '<Key>': <problem>" (an unknown key, a value of the wrong type, an
// unknown enumeration name, a number out of the property's range); Subject describes Object
// ("transition 'Fade' (#2)"), by default its class and name.
void PropertiesFromJson(QObject& Object, const QJsonObject& Values, const QString& Origin,
                        const QString& Subject = QString(),
                        const QMetaObject& Base = QObject::staticMetaObject);

// The error every reader of a stored form throws, in the form above; an empty Subject or Key is
// left out of the message. For readers of what surrounds the properties (a list's own keys).
[[noreturn]] void ThrowStoredFormError(const QString& Origin, const QString& Subject, const QString& Key,
                                       const QString& Problem);
// "a string", "a number", ...: for "expected ..., found ..." messages.
QString JsonTypeName(const QJsonValue& Value);
// "TWipeTransition 'Fade'", or the class alone when the object has no name.
QString DescribeObject(const QObject& Object);

}  // namespace vte
