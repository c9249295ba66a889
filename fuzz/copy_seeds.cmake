# Copies the build's own files into the corpus folder of the target that reads them.
# cmake -DDATA=<build folder> -DLEVELS=<levels/> -DCORPUS=<corpus folder> -P copy_seeds.cmake

function(seed target)
  file(GLOB files ${ARGN})
  if(NOT files)
    message(FATAL_ERROR "no seed for ${target}: ${ARGN}")
  endif()
  file(MAKE_DIRECTORY ${CORPUS}/${target})
  file(COPY ${files} DESTINATION ${CORPUS}/${target})
endfunction()

file(GLOB packs ${DATA}/data/*.dat)
list(FILTER packs EXCLUDE REGEX "/(Levels|Dynamic|settings|records|boss)\\.dat$")
seed(image_pack ${packs})
seed(image ${DATA}/data/*.png ${DATA}/data/*.jpg)
seed(dds ${DATA}/data/*.dds)
seed(wav ${DATA}/sound/*)
seed(x_model ${DATA}/data/*.x)
seed(font ${DATA}/data/_font*/*.wid)
seed(level_source ${LEVELS}/*.lvl)
