# Pictures, the about box and its logo. Included from src/app/CMakeLists.txt.
target_sources(kelpra_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.h
  ${CMAKE_CURRENT_LIST_DIR}/picture_render.h
  ${CMAKE_CURRENT_LIST_DIR}/form2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/form2.h
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_image.h
  ${PROJECT_SOURCE_DIR}/resources/kelpra_about.qrc)
target_link_libraries(kelpra_ui PUBLIC JPEG::JPEG)

# Regenerates resources/logo.jpg and the icon files; run by hand, not part of the build:
#   cmake --build <dir> --target kelpra_make_art && QT_QPA_PLATFORM=offscreen <dir>/bin/kelpra_make_art resources
add_executable(kelpra_make_art EXCLUDE_FROM_ALL
  ${PROJECT_SOURCE_DIR}/tools/make_art.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp)
target_include_directories(kelpra_make_art PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kelpra_make_art PRIVATE Qt6::Gui JPEG::JPEG)
