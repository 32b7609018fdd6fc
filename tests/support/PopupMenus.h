#pragma once
// Choosing from a widget's right-button menu with real events.

#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// Opens the right-button menu at a point and chooses its item (in a
// submenu when a path is given); or, when it must be greyed, checks that it
// is and closes the menu.
inline void ChooseFromMenu(QWidget& plot, QPoint at, QStringList path, bool greyed = false)
{
    QTimer::singleShot(50, [path, greyed]() mutable {
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu opened";
        QMenu* top = menu;
        while (!path.isEmpty()) {
            const QString text = path.takeFirst();
            QAction* found = nullptr;
            for (QAction* action : menu->actions())
                if (action->text() == text)
                    found = action;
            ASSERT_NE(found, nullptr) << text.toStdString();
            // A submenu as the last step is checked like an item.
            if (found->menu() != nullptr && !path.isEmpty()) {
                menu = found->menu();
                continue;
            }
            EXPECT_EQ(found->isEnabled(), !greyed) << text.toStdString();
            top->close();
            if (!greyed)
                found->trigger();
            return;
        }
    });
    QTest::mouseClick(&plot, Qt::RightButton, Qt::NoModifier, at);
}

