# Two precompiled headers, each built once and used by every target of its
# kind: one for the engines (Qt Core, Gui, Sql, PrintSupport and the standard
# library), one for what opens windows (the same and Qt Widgets). A target
# takes the desktop one when Qt Widgets is among the libraries it links,
# directly or through others, so that an engine never sees a widget's
# declaration it could not link. Included at the end of the top-level
# CMakeLists.txt, when every target is known; a new target needs nothing.
#
# The headers in them must not depend on the QT_*_LIB definitions, which
# differ between targets (Qt Test's headers do, so they stay out), and are
# named with their module's folder, so that a target without that module's
# include folder still finds them.

set(kelmorin_engine_headers
  <algorithm> <array> <cmath> <functional> <map> <memory> <optional> <vector>
  <QtCore/QByteArray> <QtCore/QCoreApplication> <QtCore/QDate> <QtCore/QDateTime> <QtCore/QDir> <QtCore/QFile>
  <QtCore/QFileInfo> <QtCore/QHash> <QtCore/QList> <QtCore/QLocale> <QtCore/QMap> <QtCore/QObject>
  <QtCore/QRegularExpression> <QtCore/QString> <QtCore/QStringList> <QtCore/QTextStream> <QtCore/QVariant>
  <QtSql/QSqlDatabase> <QtSql/QSqlError> <QtSql/QSqlQuery> <QtSql/QSqlRecord>
  <QtGui/QFont> <QtGui/QFontMetricsF> <QtGui/QPainter> <QtPrintSupport/QPrinter>)
set(kelmorin_desktop_headers ${kelmorin_engine_headers}
  <QtGui/QAction> <QtWidgets/QApplication> <QtWidgets/QComboBox> <QtWidgets/QHBoxLayout> <QtWidgets/QHeaderView>
  <QtGui/QKeyEvent> <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QPushButton> <QtWidgets/QTableView>
  <QtWidgets/QTabWidget> <QtWidgets/QVBoxLayout> <QtWidgets/QWidget>)

# A precompiled header is used only where every definition it was made with
# is defined alike. Linking Qt's modules would define QT_SQL_LIB and the
# like, which differ between targets: the headers are made with Qt Core's
# definitions and the other modules' include folders only.
file(WRITE ${CMAKE_BINARY_DIR}/kelmorin_pch.cpp "// The translation unit of the precompiled headers.\n")
foreach(kind engine desktop)
  add_library(kelmorin_pch_${kind} OBJECT ${CMAKE_BINARY_DIR}/kelmorin_pch.cpp)
  target_link_libraries(kelmorin_pch_${kind} PRIVATE Qt6::Core)
  foreach(module Gui Sql PrintSupport Widgets)
    target_include_directories(kelmorin_pch_${kind} SYSTEM PRIVATE
                               $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  target_precompile_headers(kelmorin_pch_${kind} PRIVATE ${kelmorin_${kind}_headers})
endforeach()

# Whether Qt6::Widgets is linked by a target, directly or through the
# libraries it links (result in the variable named by `out`).
function(kelmorin_links_widgets target out)
  set(pending ${target})
  set(seen "")
  set(found FALSE)
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND seen ${current})
    if(current STREQUAL "Qt6::Widgets")
      set(found TRUE)
      break()
    endif()
    get_target_property(imported ${current} IMPORTED)
    get_target_property(libraries ${current} INTERFACE_LINK_LIBRARIES)
    if(NOT imported)
      get_target_property(linked ${current} LINK_LIBRARIES)
      list(APPEND libraries ${linked})
    endif()
    foreach(library IN LISTS libraries)
      # A library linked privately by a static library appears as
      # $<LINK_ONLY:name>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
      if(library AND NOT library MATCHES "NOTFOUND$" AND NOT library MATCHES "^\\$<")
        list(APPEND pending ${library})
      endif()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(kelmorin_use_precompiled_headers directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
       OR target MATCHES "^kelmorin_pch_")
      continue()
    endif()
    # A library that uses no Qt (the reader of Access files over mdbtools
    # and glib) keeps its own headers.
    get_target_property(own ${target} KELMORIN_NO_PRECOMPILED_HEADERS)
    if(own)
      continue()
    endif()
    kelmorin_links_widgets(${target} widgets)
    if(widgets)
      target_precompile_headers(${target} REUSE_FROM kelmorin_pch_desktop)
    else()
      target_precompile_headers(${target} REUSE_FROM kelmorin_pch_engine)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    kelmorin_use_precompiled_headers(${subdirectory})
  endforeach()
endfunction()

kelmorin_use_precompiled_headers(${CMAKE_SOURCE_DIR})
